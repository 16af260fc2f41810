#pragma once

#include <string>

namespace vesk {

class TComObjRs232;

// 0x1C, sent without reading a reply: the board leaves its application firmware for the
// bootloader and answers nothing more. A frame that cannot be written raises the link's
// error.
void SetBootloaderMode(TComObjRs232& link);

// The question asked before the order, and the message when it could not be sent.
std::string BootloaderQuestion();
std::string BootloaderSendFailedMessage();

}  // namespace vesk
