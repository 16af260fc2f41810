#pragma once

#include <QLocalServer>
#include <QObject>
#include <QSharedMemory>
#include <QString>

#include <functional>

namespace vesk {

// One copy per logon session unless the operator confirms another. The shared block holds
// the identifier of the newest copy at offset 0 and the count of copies started at offset 4;
// each copy listens on a local socket named after the block and its identifier, through
// which a later copy brings it forward.
class SingleInstance : public QObject {
  Q_OBJECT

 public:
  static constexpr int kBlockSize = 1028;

  // askSecondCopy answers the question; bringForward is run in this copy when a later one
  // was declined.
  SingleInstance(QString blockName, std::function<bool()> askSecondCopy,
                 std::function<void()> bringForward, QObject* parent = nullptr);

  // Yes: continue starting. Raises with the system's error when the block cannot be made.
  bool CheckSingleInstance();

  qint32 identifier() const { return identifier_; }

 private:
  QString serverName(qint32 identifier) const;
  void listen();
  void storeSelf(char* block, bool fresh);

  QString blockName_;
  std::function<bool()> ask_;
  std::function<void()> bringForward_;
  QSharedMemory block_;
  QLocalServer server_;
  qint32 identifier_;
};

}  // namespace vesk
