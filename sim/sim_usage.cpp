#include <string>

#include "sim/model_presets.h"
#include "sim/sim_options.h"

namespace vesk::sim {

std::string SimUsage() {
  std::string text = R"(Usage: vesk-board-sim [options]

A simulated camera board behind a pseudo-terminal. It links <folder>/ports/COM<port> to the
terminal, prints the terminal's device path (the first line of its output, for
vesk-cli --device and the monitor's "COM" "Device") and answers the monitor's orders until it
gets SIGTERM or SIGINT; then it removes the link. A folder it may not write to gets no link:
the board is then reached by its device path alone.

Line:
  --port N                 port number of the link ports/COM<N> (default 3)
  --folder DIR             folder that holds ports/ (default: this program's folder, the
                           monitor's program folder)

Board:
  --preset NAME            a model with a firmware that shows its pages (default
                           astel9-weather); the options below override it
  --model CODE             model type code 0 to 255
  --firmware MAJOR.MINOR   firmware version as sent: 2.20 is minor 20, 2.2 is minor 2
  --feature N              feature byte of the version reply (5 or more: inside humidity)
  --serial NNNNNN          serial number, six digits (default 127512)
  --seed N                 seed of the readings' noise (default 1)
  --speed FACTOR           the board's clock runs FACTOR times faster, to watch a day pass
  --outside C,RH           the outside air held at C °C and RH % (no daily cycle, no
                           noise), for known readings or a humid night
  --record FILE            write the payload of every order received to FILE, in hex, one
                           line per order, as it arrives

Lens (lens models):
  --no-lens                no lens answers (presence byte 0x00)
  --lens-id ID             lens identifier, decimal or 0x hex (default 0x4C22; 1 makes the
                           board refuse the lens order)
  --lens-codes A,B         the two aperture codes of the lens range (default 0x20,0x58;
                           descending codes select the extended table)
  --lens-name TEXT         lens name (default "EF15mm f/2.8 Fisheye")
  --lens-name-unknown      the board does not know the name order and answers 0xFF

Faults:
  --silent                 carry out orders but never answer
  --delay MS               wait MS milliseconds before each reply
  --bad-checksum-every K   every K-th reply has a wrong checksum
  --bad-start              every reply has a wrong start byte
  --short-reply            every reply stops half-way through its body
  --long-length            every reply is a whole frame with a length byte above 28
  --fault-mix PERCENT      each reply gets, with this chance, one of the six faults above
                           drawn at random from the seed (a late reply waits 0.5 to 3 s);
                           each is named on the standard error as it is sent;
                           SIGUSR1 pauses the mix and SIGUSR2 lets it go on
  --refuse-settings        REQ_SET_CONFIG and REQ_SET_TYPE_SERIAL are answered 0x00 and
                           REQ_ENABLE_HEATER 2, and none of them changes anything
  --short-version          the version reply ends after the firmware version (no model type)
  --data-ext-length N      the weather module's reply holds its first N bytes only (1 to 19;
                           16: no reference test and no converter status)
  --converter-faulted      the weather module's converter status reads 0x01 (faulted)

  --help                   this text

Presets:
)";
  for (const ModelPreset& p : ModelPresets()) {
    std::string line = "  " + std::string(p.name);
    line.resize(19, ' ');
    line += "code " + std::to_string(p.type) + ", firmware " + std::to_string(p.major) + "." +
            std::to_string(p.minor) + ": " + std::string(p.shows) + "\n";
    text += line;
  }
  return text;
}

}  // namespace vesk::sim
