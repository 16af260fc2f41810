#include "device/bootloader_order.h"

#include "link/com_obj_rs232.h"
#include "link/order_codes.h"

namespace vesk {

void SetBootloaderMode(TComObjRs232& link) {
  link.SendOrder({REQ_BOOTLOADER});
}

std::string BootloaderQuestion() {
  return "Confirmer l'envoi de l'ordre de mis en mode BOOT ?";
}

std::string BootloaderSendFailedMessage() {
  return "Erreur lors de l'envoi de la commande du mode BOOT !";
}

}  // namespace vesk
