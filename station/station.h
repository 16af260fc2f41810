#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "acquisition/poll_driver.h"
#include "acquisition/sensor_conversions.h"
#include "device/heating_orders.h"
#include "device/identity_orders.h"
#include "history/history_load.h"
#include "history/history_store.h"
#include "history/tinfos_rec.h"
#include "lens/focus_orders.h"
#include "link/device_identity.h"
#include "station/station_state.h"
#include "weather/weather_readout.h"

namespace vesk {

class TComObjRs232;

// A port opened and its version exchanged away from the station, on any thread: a lost
// link looked for again without holding up the station's thread. Handed to AdoptLink.
struct LinkProbe {
  std::unique_ptr<TComObjRs232> link;  // open when the board answered
  TArrayByte versionReply;
  std::string error;  // the link's failure when it did not
  LinkProbe();
  LinkProbe(LinkProbe&&) noexcept;
  LinkProbe& operator=(LinkProbe&&) noexcept;
  ~LinkProbe();
};

// One board and everything kept for it: the link, what its identification told, the poll
// driver, the history, the heating and lens state and the humidity constants. The window's
// pages and vesk-cli both work through it; it knows no widget, no timer and no message box.
// Every method runs on the thread that owns the station (the window's main thread, or the
// command's thread); only the poll worker runs elsewhere, on a copy of what it needs.
class Station {
 public:
  using PostToMain = PollDriver::PostToMain;
  // Presents an ended poll, after the station has taken its part of it (heating state,
  // counters, the history record).
  using PollPresenter = std::function<void(const ThreadRequest& sender)>;
  // Shows the thresholds each read-back found.
  using ThresholdsPresenter = std::function<void(const HeatingThresholdTexts& texts)>;

  // chemExec: the program folder (ports/, the history file). post: queues a call on the
  // owning thread; only polls that do not wait use it.
  Station(std::filesystem::path chemExec, PostToMain post);
  ~Station();
  Station(const Station&) = delete;
  Station& operator=(const Station&) = delete;

  void SetPollPresenter(PollPresenter presenter);
  void SetThresholdsPresenter(ThresholdsPresenter presenter);

  // The connection, step by step: the window shows each step before the next may fail.
  // Zeroes the poll counters and LensCheckCount.
  void BeginConnection();
  // A new link object on port comNum (a failed attempt's closed one is replaced), or on the
  // device set with SetDevice.
  void OpenLink(int comNum);
  // A device path ("COM" "Device", vesk-cli --device) that every later OpenLink opens in
  // place of the port number's device; empty: the port number's, as before.
  void SetDevice(std::string device) { device_ = std::move(device); }
  const std::string& Device() const { return device_; }
  // Waits 100 ms (the board needs it after the port opens) and exchanges REQ_ORDER_VERSION;
  // takes the firmware version, clears DisplayTempHot and DisplayRH_int. The reply is kept
  // for ReadModel.
  DeviceIdentity ReadVersion();
  // ReadVersion's exchange on a link of its own (port comNum, or device when one is named),
  // callable from any thread; never raises.
  static LinkProbe ProbeLink(const std::filesystem::path& chemExec, int comNum,
                             const std::string& device);
  // A probe that answered becomes the station's link, its version taken as ReadVersion
  // takes it.
  DeviceIdentity AdoptLink(LinkProbe probe);
  // From major 2 on: the model type and features of the version reply.
  void ReadModel(DeviceIdentity& identity);
  // The serial number ("xxxxxx" when it cannot be read); never raises.
  std::string ReadSerialNumber();
  // REQ_GET_CONFIG: the stored thresholds are held, shown and logged.
  HeatingThresholds GetCurrentSetup();
  void ConnectionDone();
  // Ends a failed attempt: the poll in progress first, then the port; the closed link
  // object stays until the next attempt.
  void ConnectionFailed();
  void Disconnect();
  bool Connected() const { return Connected_; }
  // A link object is held (open, or closed after a failed attempt).
  bool LinkHeld() const { return ComObjRs232 != nullptr; }
  // Scripts: OpenLink, ReadVersion, ReadModel and, from firmware 3 on and when asked,
  // ReadSerialNumber.
  DeviceIdentity Identify(int comNum, bool readSerialNumber = true);

  // Starts a poll; with wait, returns once it is applied. False while a poll runs.
  bool PollDevice(bool wait, bool correctWindSpeed = false, const std::string& factorText = "");
  // The poll in progress, if any, ends and is applied now.
  void WaitForPoll();
  bool ThreadRun() const { return polls_.ThreadRun(); }
  void ResetPollCounters() { polls_.ResetCounters(); }
  std::uint32_t NbPools() const { return polls_.NbPools; }
  std::uint32_t NbPoolsFailed() const { return polls_.NbPoolsFailed; }

  // The history: loaded at start, one record per successful poll, saved periodically.
  TTinfosRec& Datas() { return Datas_; }
  const TTinfosRec& Datas() const { return Datas_; }
  void LoadHistoryAtStart(const LoadProgress& progress = {});
  // Writes "DatasVesk.bin" (".back" kept). When the start never loaded the file, it is
  // loaded first and the readings taken since go after its records, so they never replace
  // it; a load that fails then ends the save (raised), the file untouched and the readings
  // kept for the next one.
  void SaveHistory(const LoadProgress& progress = {});

  const HumidityConstants& Humidity() const { return humidity_; }
  // Reaches the next poll, both values at once.
  void SetHumidity(const HumidityConstants& constants) { humidity_ = constants; }

  // The board's settings. Each order raises the link's error (or the board's refusal); none
  // polls: the caller runs the poll that shows the board's new state.

  // A threshold read-back succeeded since the connection began.
  bool ThresholdsReadBack() const { return thresholdsReadBack_; }
  // REQ_SET_CONFIG with the held thresholds, automatic flag and power level; logged.
  void SetConfig();
  // "Update into device": the new values are held (and stay held when the board refuses
  // them), written, then read back.
  void UpdateSetup(const HeatingSetup& setup);
  // Automatic heating on or off, written with the held thresholds and power level. Before a
  // read-back the held thresholds are zero counts rather than the board's, so they are read
  // first instead of being written over the board's own.
  void SetAutoHeating(bool on);
  // REQ_ENABLE_HEATER: the forced heater on (1) or off (0); returns the board's automatic
  // flag; logged.
  std::uint8_t EnableHeater(std::uint8_t on);
  void SetManualCooler(bool on);
  void SetAutoCooler(bool on);
  // Model type and serial number. On Reconnect the caller disconnects and connects anew,
  // which reads them back; the refusals send nothing.
  IdentityAnswer SetTypeAndSerial(std::uint8_t type, std::uint32_t serial);
  // 0x1C: the board leaves its application firmware and answers nothing more.
  void SetBootloaderMode();

  // REQ_GET_DATAEXT read as the weather diagnostics show it, with the humidity constants in
  // use (station_weather.cpp). A link failure is raised before any row is read; a reply too
  // short for a row is left in the readout's error.
  TWeatherReadout GetExtDatas();

  const IdentityState& Identity() const { return identity_; }
  const HeatingState& Heating() const { return heating_; }
  const LensState& Lens() const { return lens_; }
  const std::filesystem::path& ChemExec() const { return ChemExec_; }

  // The lens step of the last successful poll of a lens board.
  const LensPoll& LastLensPoll() const { return lensPoll_; }

  // Lens orders (station_lens.cpp); each raises the link's failure.
  // SET_CANON_DIAPH: A4 FF 00, then A4 77 steps.
  void SetCanonDiaph(std::uint8_t steps);
  // Entry index of FACanonDiaphInf, by its steps from the widest entry. "Range check error",
  // and nothing sent, for an index outside the list or steps outside 0 to 255.
  void SetListAperture(long long index);
  // "Close Iris": A4, 0x77 (close) or 0xFF (open), steps; the first two reply bytes.
  std::array<std::uint8_t, 2> CloseIris(bool close, std::uint8_t steps);
  // SET_CANON_FOCUS, planned from AbsolFocus (FocusOrderOfTag and the like). AbsolFocus
  // takes the order's count before it is sent, so a failed exchange leaves it changed.
  void SendFocusOrder(const FocusOrder& order);

 private:
  TComObjRs232& Link();
  void ApplyPoll(ThreadRequest& sender);
  TDataTinParams PollInputs();
  DeviceIdentity TakeVersion();
  void AppendToFile();
  void ApplyLens(const TDataOUT& out);

  std::filesystem::path ChemExec_;
  std::unique_ptr<TComObjRs232> ComObjRs232;
  std::string device_;
  TArrayByte versionReply_;
  bool Connected_ = false;
  bool thresholdsReadBack_ = false;
  IdentityState identity_;
  HeatingState heating_;
  LensState lens_;
  LensPoll lensPoll_;
  HumidityConstants humidity_;
  HistoryStore history_;
  TTinfosRec Datas_;
  bool historyLoaded_ = false;
  // The durable append of each poll's record failed and has not succeeded since.
  bool appendFailing_ = false;
  PollPresenter presenter_;
  ThresholdsPresenter thresholdsPresenter_;
  // Last: its destructor waits for a running worker, which reads the link.
  PollDriver polls_;
};

}  // namespace vesk
