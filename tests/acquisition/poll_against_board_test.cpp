// The poll worker against the simulated board: what the board encodes, the monitor decodes.
#include <gtest/gtest.h>

#include "acquisition/model_type.h"
#include "acquisition/thread_request.h"
#include "link/com_obj_rs232.h"
#include "link/device_identity.h"
#include "link/order_codes.h"
#include "sim/in_process_board.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

TEST(PollAgainstBoard, ReadingsArePlausibleForEveryKindOfModel) {
  const struct {
    std::uint8_t type, major, minor;
  } models[] = {{3, 3, 5}, {4, 3, 5}, {17, 2, 18}, {19, 3, 0}, {22, 3, 0}, {33, 3, 5}, {34, 3, 5}};
  for (const auto& m : models) {
    test::TempFolder folder;
    test::LogCapture log(folder.path());
    sim::BoardSetup setup;
    setup.identity = {m.major, m.minor, m.type, 0, "123456"};
    sim::InProcessBoard board(setup);
    board.linkAsPort(folder.path(), 4);
    TComObjRs232 link(folder.path());
    link.OpenCom(4);
    TArrayByte reply;
    link.SendOrder_ReceiveFeedBack({REQ_ORDER_VERSION}, reply);
    const DeviceIdentity id = IdentifyDevice(reply);

    ThreadRequest worker(
        {&link, id.TypeCam, id.DisplayRH_int, id.DisplayTempHot, id.DriveEFlens_intf, {}}, {});
    worker.Execute();
    ASSERT_EQ(worker.ErrorMes, "") << int(m.type);
    const TinfosRec& rec = worker.FDataOUT.infosRec;
    EXPECT_GE(rec.TempExt, -30) << int(m.type);
    EXPECT_LE(rec.TempExt, 40) << int(m.type);
    EXPECT_GE(rec.RHExt, 0) << int(m.type);
    EXPECT_LE(rec.RHExt, 100) << int(m.type);
    if (HasWeatherModule(m.type)) {
      EXPECT_GE(rec.Pressure, 950) << int(m.type);
      EXPECT_LE(rec.Pressure, 1050) << int(m.type);
      EXPECT_GE(rec.WindSpeed, 0) << int(m.type);
      EXPECT_GE(rec.Windir, 0) << int(m.type);
      EXPECT_LE(rec.Windir, 360) << int(m.type);
    } else {
      EXPECT_EQ(rec.Pressure, 0) << int(m.type);
    }
    if (id.DriveEFlens_intf) {
      EXPECT_TRUE(worker.FDataOUT.PresenceAF) << int(m.type);
      EXPECT_EQ(worker.FDataOUT.LensName, "EF15mm f/2.8 Fisheye") << int(m.type);
    }
    link.CloseCom();
  }
}

}  // namespace
}  // namespace vesk
