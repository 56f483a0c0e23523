#include "OcctMessages.h"

#include <Message.hxx>
#include <Message_Messenger.hxx>

namespace brennic {

void SilenceOpenCascade() {
  // Cleared on every call: another library of the process may have added a
  // printer since.
  Message::DefaultMessenger()->ChangePrinters().Clear();
}

}  // namespace brennic
