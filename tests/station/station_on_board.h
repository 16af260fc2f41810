#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "sim/in_process_board.h"
#include "station/station.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_folder.h"

namespace vesk::test {

// A temporary program folder with its log and a simulated board on its COM3, which can be
// taken away, brought back as another board, or made to fail every reply.
struct BoardOnPort {
  static constexpr int kPort = 3;

  explicit BoardOnPort(std::uint8_t type = 23, const std::string& serial = "127512",
                       std::uint8_t major = 3) {
    plugBoard(type, serial, major);
  }

  void plugBoard(std::uint8_t type, const std::string& serial = "127512", std::uint8_t major = 3) {
    sim::BoardSetup setup;
    setup.identity = {major, 5, type, 0, serial};
    board.reset();  // the port's link goes with the old board
    board = std::make_unique<sim::InProcessBoard>(setup);
    board->linkAsPort(folder.path(), kPort);
  }
  void unplugBoard() { board.reset(); }
  // Every reply of the board fails its checksum (nothing happens while it is away).
  void failReplies(bool fail) {
    if (!board) {
      return;
    }
    board->withBoard([fail](sim::Board& b) { b.setFaults({.badChecksumEvery = fail ? 1u : 0u}); });
  }

  TempFolder folder;
  LogCapture log{folder.path()};
  std::unique_ptr<sim::InProcessBoard> board;
};

// A station on that board.
struct StationOnBoard : BoardOnPort {
  using BoardOnPort::BoardOnPort;

  // Polls wait on the test's thread: nothing is posted.
  Station station{folder.path(), [](std::function<void()> call) { call(); }};
};

}  // namespace vesk::test
