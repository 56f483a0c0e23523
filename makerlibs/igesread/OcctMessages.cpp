#include "OcctMessages.h"

#include <Message.hxx>
#include <Message_Messenger.hxx>

namespace igesread {

void SilenceOpenCascade() {
  // Cleared on every call: another library of the process may have added a
  // printer since.
  Message::DefaultMessenger()->ChangePrinters().Clear();
}

}  // namespace igesread
