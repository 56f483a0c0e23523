// The host command ZOOM (also _zoom, as modules issue it after bringing
// geometry in). The host draws nothing, so there is no view to change: the
// command takes its option and ends, so that callers see it succeed.
#include "editor/hostcommands.h"

namespace arxhost {
namespace {

HostCommandRegistrar zoom(L"ZOOM", L"ZOOM [Extents|All|...]: accepted; the host has no view to zoom",
                          [](CommandArgs& args) {
                            if (args.HasMore()) args.Word(L"");
                            return true;
                          });

}  // namespace
}  // namespace arxhost
