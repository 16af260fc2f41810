#include "device/identity_orders.h"

#include <gtest/gtest.h>

#include "common/convert_error.h"
#include "common/exceptions.h"
#include "device/camera_models.h"
#include "link/device_identity.h"
#include "link/order_codes.h"
#include "tests/support/board_line.h"
#include "tests/support/sim_line.h"

namespace vesk {
namespace {

constexpr std::uint8_t kAstel9 = 32;

sim::BoardSetup WithIdentity(const sim::BoardIdentity& identity) {
  sim::BoardSetup setup;
  setup.identity = identity;
  return setup;
}

TEST(IdentityOrders, SerialNumber) {
  const struct {
    TArrayByte reply;
    const char* serial;
  } cases[] = {
      {{'0', '0', '1', '2', '7', '5', '1', '2'}, "127512"},
      {{'0', '0', '1', '2'}, "xxxxxx"},
      {{'0', '0', '1', '2', '7', '5', '1', '2', '9'}, "xxxxxx"},
  };
  test::BoardLine board;
  for (const auto& c : cases) {
    board.answer(REQ_GET_SERIAL, c.reply);
    EXPECT_EQ(ReadSerialNumber(board.link), c.serial);
  }
  board.answerRaw(REQ_GET_SERIAL, {0x1F, 0x01, 0x21});  // bad checksum
  EXPECT_EQ(ReadSerialNumber(board.link), "xxxxxx");
}

TEST(IdentityOrders, SerialNumberFromTheBoard) {
  {
    test::SimLine line;
    EXPECT_EQ(ReadSerialNumber(line.link), "127512");
    line.board.withBoard([](sim::Board& b) { b.setFaults({.badStart = true}); });
    EXPECT_EQ(ReadSerialNumber(line.link), "xxxxxx");
  }
  // Before firmware 3 the board does not know the order and answers 0xFF.
  test::SimLine older(WithIdentity({.major = 2, .minor = 18, .type = 17}));
  EXPECT_EQ(ReadSerialNumber(older.link), "xxxxxx");
}

TEST(IdentityOrders, WrittenIdentityIsReadAfterReconnecting) {
  test::SimLine line(WithIdentity({.type = 34, .serial = "130000"}));
  EXPECT_EQ(SetTypeAndSerial(line.link, kAstel9, 127512), IdentityAnswer::Reconnect);

  line.link.CloseCom();
  line.link.OpenCom(test::SimLine::kPort);
  EXPECT_EQ(IdentifyDevice(line.exchange({REQ_ORDER_VERSION})).TypeCam, kAstel9);
  EXPECT_EQ(ReadSerialNumber(line.link), "127512");
}

TEST(IdentityOrders, OrderBytesAndTheBoardsAnswer) {
  // The list entry the operator picks, not its code: the list is not in code order.
  const CameraModel& astel9 = kCameraModels[7];
  ASSERT_STREQ(astel9.text, "Camera Astel 9");
  test::BoardLine board;
  board.answer(REQ_SET_TYPE_SERIAL, {0x7E});
  EXPECT_EQ(SetTypeAndSerial(board.link, astel9.code, 127512), IdentityAnswer::Reconnect);
  ASSERT_EQ(board.peer->requests().size(), 1u);
  const TArrayByte frame = board.peer->requests().front();
  EXPECT_EQ(TArrayByte(frame.begin() + 2, frame.end() - 1),
            (TArrayByte{0xA8, 0x20, 0x30, 0x30, 0x31, 0x32, 0x37, 0x35, 0x31, 0x32}));

  board.answer(REQ_SET_TYPE_SERIAL, {0x00});
  EXPECT_EQ(SetTypeAndSerial(board.link, kAstel9, 127512), IdentityAnswer::Ignored);
  board.answer(REQ_SET_TYPE_SERIAL, {});
  EXPECT_THROW(SetTypeAndSerial(board.link, kAstel9, 127512), ERangeCheck);
}

TEST(IdentityOrders, RefusedWithNothingSent) {
  const struct {
    std::uint32_t serial;
    std::uint8_t type;
    IdentityAnswer answer;
  } cases[] = {
      {127000, kAstel9, IdentityAnswer::SerialRefused},
      {135000, kAstel9, IdentityAnswer::SerialRefused},
      {0, kAstel9, IdentityAnswer::SerialRefused},
      {1234567, kAstel9, IdentityAnswer::SerialRefused},
      {127512, 0, IdentityAnswer::ModelRefused},   // no model chosen
      {127512, 17, IdentityAnswer::ModelRefused},  // a model, but not one of the list
  };
  test::BoardLine board;
  board.answer(REQ_SET_TYPE_SERIAL, {0x7E});
  for (const auto& c : cases) {
    EXPECT_EQ(SetTypeAndSerial(board.link, c.type, c.serial), c.answer) << c.serial;
  }
  EXPECT_TRUE(board.orders().empty());

  // The ends of the range are taken.
  EXPECT_EQ(SetTypeAndSerial(board.link, 16, 127001), IdentityAnswer::Reconnect);
  EXPECT_EQ(SetTypeAndSerial(board.link, 37, 134999), IdentityAnswer::Reconnect);
  EXPECT_EQ(board.orders().size(), 2u);
}

TEST(IdentityOrders, SerialNumberText) {
  EXPECT_EQ(SerialNumberOfText("127512"), 127512u);
  EXPECT_THROW(SerialNumberOfText("-127512"), ERangeCheck);
  try {
    SerialNumberOfText("127xxx");
    ADD_FAILURE() << "127xxx taken";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.message(), "'127xxx' is not a valid integer value");
  }
}

TEST(CameraModels, CodesAreTheModelsTheVersionReplyNames) {
  for (const CameraModel& m : kCameraModels) {
    const ModelType model = ModelTypeOf(m.code, 3.5);
    EXPECT_STRNE(model.label, "") << m.text;
    // A wrong code would show the other variant's pages after the reconnection.
    const bool wind = std::string(m.text).find("+ Wind") != std::string::npos;
    EXPECT_EQ(model.weatherPages, wind) << m.text;
    EXPECT_EQ(CameraModelOfCode(m.code), &m) << m.text;
  }
  EXPECT_EQ(CameraModelOfCode(0), nullptr);
}

}  // namespace
}  // namespace vesk
