#include "acquisition/thread_request.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "acquisition/sensor_conversions.h"
#include "common/number_text.h"
#include "link/order_codes.h"
#include "tests/support/board_line.h"

namespace vesk {
namespace {

using ::testing::Contains;
using ::testing::ElementsAreArray;
using ::testing::Not;

TArrayByte VoltageReply() {
  TArrayByte reply(21, 0);
  reply[0] = 0x06;  // 1638 counts: about 0 °C outside
  reply[1] = 0x66;
  reply[2] = 0x1A;  // humidity count 0x1A00
  reply[4] = 0x08;
  reply[6] = 1;
  reply[8] = 75;
  return reply;
}

TArrayByte DataExtReply() {
  return {0x57, 0x00, 0x4E, 0x20, 0x4E, 0x20, 0, 0, 0, 0, 0x0A, 0};
}

TArrayByte LensInfos(std::uint16_t id) {
  TArrayByte infos(19, 0x11);
  infos[0] = 0xAA;
  infos[1] = static_cast<std::uint8_t>(id >> 8);
  infos[2] = static_cast<std::uint8_t>(id & 0xFF);
  return infos;
}

class WorkerTest : public ::testing::Test {
 protected:
  WorkerTest() {
    board.answer(REQ_GET_VOLTAGE, VoltageReply());
    board.answer(REQ_GET_DATAEXT, DataExtReply());
    board.answer(REQ_ORDER_VERSION, {3, 0, 33, 0});
    board.answer(GET_INFOS_EF_CANON, LensInfos(0x0102));
    board.answer(GET_NAME_EF_CANON, {'E', 'F', '2', '4'});
  }

  ThreadRequest Poll(std::uint8_t type, bool hot, bool lens) {
    ThreadRequest worker({&board.link, type, hot, hot, lens, {}}, {});
    worker.Execute();
    return worker;
  }

  test::BoardLine board;
};

TEST_F(WorkerTest, OrdersPerModel) {
  const struct {
    const char* name;
    std::uint8_t type;
    bool lens;
    TArrayByte version;
    std::uint16_t lensId;
    std::vector<std::uint8_t> orders;
  } cases[] = {
      {"plain", 3, false, {3, 0, 3}, 2, {REQ_GET_VOLTAGE}},
      {"weather", 19, false, {3, 0, 19}, 2, {REQ_GET_DATAEXT, REQ_GET_VOLTAGE}},
      {"lens",
       33,
       true,
       {3, 0, 33},
       2,
       {REQ_GET_VOLTAGE, REQ_ORDER_VERSION, GET_INFOS_EF_CANON, GET_NAME_EF_CANON}},
      {"lens refused",
       33,
       true,
       {3, 0, 33},
       1,
       {REQ_GET_VOLTAGE, REQ_ORDER_VERSION, GET_INFOS_EF_CANON}},
      {"older lens protocol",
       21,
       true,
       {2, 18, 21},
       2,
       {REQ_GET_VOLTAGE, REQ_ORDER_VERSION, GET_INFOS_EF_CANON}},
      {"weather and lens",
       34,
       true,
       {3, 0, 34},
       2,
       {REQ_GET_DATAEXT, REQ_GET_VOLTAGE, REQ_ORDER_VERSION, GET_INFOS_EF_CANON,
        GET_NAME_EF_CANON}},
  };
  std::size_t seen = 0;
  for (const auto& c : cases) {
    board.answer(REQ_ORDER_VERSION, c.version);
    board.answer(GET_INFOS_EF_CANON, LensInfos(c.lensId));
    const ThreadRequest worker = Poll(c.type, true, c.lens);
    EXPECT_EQ(worker.ErrorMes, "") << c.name;
    const auto orders = board.orders();
    EXPECT_THAT(std::vector<std::uint8_t>(orders.begin() + static_cast<long>(seen), orders.end()),
                ElementsAreArray(c.orders))
        << c.name;
    seen = orders.size();
  }
}

TEST_F(WorkerTest, WeatherModelsPauseBeforeTheNextOrder) {
  Poll(19, true, false);
  const auto times = board.peer->requestTimes();
  ASSERT_EQ(times.size(), 2u);
  EXPECT_GE(times[1] - times[0], std::chrono::milliseconds(50));
}

TEST_F(WorkerTest, DecodesAndLogsOnePoll) {
  const ThreadRequest worker = Poll(33, true, true);
  ASSERT_EQ(worker.ErrorMes, "");
  const TDataOUT& out = worker.FDataOUT;
  EXPECT_DOUBLE_EQ(out.infosRec.TempExt, CountToCelsius(0x0666));
  EXPECT_DOUBLE_EQ(out.infosRec.RHExt, CountToHumidity(0x1A00, {}));
  EXPECT_EQ(out.infosRec.Date, 0);
  EXPECT_TRUE(out.PresenceAF);
  EXPECT_EQ(out.lensID, 0x0102);
  EXPECT_EQ(out.LensName, "EF24");
  EXPECT_THAT(board.log.texts(),
              Contains(FormatText("GetData-> %1.1f°C  %1.0f%%  Active heating: Yes    "
                                  "AutoHeating: No    Power: 75%%",
                                  out.infosRec.TempExt, out.infosRec.RHExt)));
}

TEST_F(WorkerTest, LensNamesAndCheckCount) {
  board.answer(GET_NAME_EF_CANON, {0xFF});
  const ThreadRequest old = Poll(33, true, true);
  EXPECT_EQ(old.FDataOUT.LensName, "Name is not valid : protocole is too old !");
  EXPECT_EQ(old.LensChecks, 1);
  board.answer(GET_INFOS_EF_CANON, LensInfos(1));
  EXPECT_EQ(Poll(33, true, true).FDataOUT.LensName, "Commande invalide");
  // No marker: still counted, the bytes still taken.
  TArrayByte absent = LensInfos(0x0203);
  absent[0] = 0x00;
  board.answer(GET_INFOS_EF_CANON, absent);
  const ThreadRequest worker = Poll(33, true, true);
  EXPECT_FALSE(worker.FDataOUT.PresenceAF);
  EXPECT_EQ(worker.FDataOUT.lensID, 0x0203);
  EXPECT_EQ(worker.LensChecks, 1);
}

TEST_F(WorkerTest, ShortReplyFailsThePoll) {
  board.answer(REQ_GET_VOLTAGE, TArrayByte(9, 0));
  EXPECT_EQ(Poll(3, false, false).ErrorMes, "");
  const ThreadRequest failed = Poll(4, true, false);
  EXPECT_EQ(failed.ErrorMes, "Thread get data call failed -> Range check error");
  EXPECT_EQ(board.log.texts().back(), "Thread get data call failed -> Range check error");
}

TEST_F(WorkerTest, NoOrderAfterAFailure) {
  board.answerRaw(REQ_GET_DATAEXT, {0x1F, 0x02, 0x00, 0x00});  // wrong checksum
  const ThreadRequest failed = Poll(34, true, true);
  EXPECT_EQ(failed.ErrorMes,
            "Thread get data call failed -> Error -> \"checksum\" reply order is invalid "
            "->ordre : REQ_GET_DATAEXT");
  EXPECT_THAT(board.orders(), ElementsAreArray({REQ_GET_DATAEXT}));
  EXPECT_THAT(board.log.texts(), Not(Contains(::testing::StartsWith("GetData-> "))));
}

}  // namespace
}  // namespace vesk
