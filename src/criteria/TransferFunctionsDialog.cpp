#include "criteria/TransferFunctionsDialog.h"

namespace ardelon {

void TransferFunctionsDialog::onInitDialog(DialogHost& host) {
    host.showMessage(kWarningText, kWarningCaption, MessageIcon::Exclamation);
}

}  // namespace ardelon
