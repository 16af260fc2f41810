#include "app/single_instance.h"

#include <QCoreApplication>
#include <QLocalSocket>

#include <cstring>

#include "common/exceptions.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace vesk {
namespace {

QString UserTag() {
#ifdef _WIN32
  return qEnvironmentVariable("USERNAME");
#else
  return QString::number(getuid());
#endif
}

}  // namespace

SingleInstance::SingleInstance(QString blockName, std::function<bool()> askSecondCopy,
                               std::function<void()> bringForward, QObject* parent)
    : QObject(parent),
      blockName_(std::move(blockName)),
      ask_(std::move(askSecondCopy)),
      bringForward_(std::move(bringForward)),
      block_(blockName_ + QLatin1Char('_') + UserTag()),
      identifier_(static_cast<qint32>(QCoreApplication::applicationPid())) {
  // A later copy connects first to see whether this one runs, and says "show" only when the
  // operator declined to start it.
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (socket->readAll().contains("show") && bringForward_) {
          bringForward_();
        }
      });
    }
  });
}

QString SingleInstance::serverName(qint32 identifier) const {
  return blockName_ + UserTag() + QLatin1Char('_') + QString::number(identifier);
}

void SingleInstance::listen() {
  QLocalServer::removeServer(serverName(identifier_));
  server_.listen(serverName(identifier_));
}

void SingleInstance::storeSelf(char* block, bool fresh) {
  qint32 count = 0;
  if (!fresh) {
    std::memcpy(&count, block + 4, sizeof count);
  }
  ++count;
  std::memcpy(block, &identifier_, sizeof identifier_);
  std::memcpy(block + 4, &count, sizeof count);
}

bool SingleInstance::CheckSingleInstance() {
  if (block_.create(kBlockSize)) {
    block_.lock();
    char* data = static_cast<char*>(block_.data());
    std::memset(data, 0, kBlockSize);
    storeSelf(data, true);
    block_.unlock();
    listen();
    return true;
  }
  if (block_.error() != QSharedMemory::AlreadyExists) {
    throw Exception(block_.errorString().toStdString());
  }
  if (!block_.attach()) {
    return true;  // cannot look at it: start without asking
  }
  char* data = static_cast<char*>(block_.data());
  qint32 count = 0;
  qint32 newest = 0;
  std::memcpy(&count, data + 4, sizeof count);
  std::memcpy(&newest, data, sizeof newest);
  // Only a copy that answers counts: on Linux the block outlives a copy that was killed or
  // crashed, and an unattended restart must not wait at the question for ever.
  QLocalSocket socket;
  if (count >= 1) {
    socket.connectToServer(serverName(newest));
  }
  if (count < 1 || !socket.waitForConnected(1000)) {
    storeSelf(data, true);
    listen();
    return true;
  }
  if (ask_()) {
    socket.disconnectFromServer();
    storeSelf(data, false);
    listen();
    return true;
  }
  socket.write("show");
  socket.waitForBytesWritten(1000);
  socket.disconnectFromServer();
  return false;
}

}  // namespace vesk
