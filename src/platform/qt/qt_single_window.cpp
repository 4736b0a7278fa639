// One window per session on Linux: a local socket per user and display, in the user's runtime
// folder. A lock decides which of several starts at once opens the window; the others hand
// their targets to it and end.
#include "platform/single_window.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>

namespace tarnwipe {
namespace {

constexpr char kTaken = 'k';

// The session's socket (or its lock, with sSuffix ".lock"): one per user and display.
QString SessionPath(const QString& sSuffix) {
  QString sDisplay = qEnvironmentVariable("WAYLAND_DISPLAY", qEnvironmentVariable("DISPLAY"));
  for (QChar& c : sDisplay) {
    if (!c.isLetterOrNumber()) c = QLatin1Char('_');
  }
  QString sFolder = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (sFolder.isEmpty() || !QFileInfo(sFolder).isDir()) sFolder = QDir::tempPath();
  return sFolder + QStringLiteral("/tarnwipe-%1-%2").arg(::getuid()).arg(sDisplay) + sSuffix;
}

// True when the other end of a connected socket runs as this user: a socket file in a shared
// folder may have been put there by someone else.
bool SameUser(const QLocalSocket& socket) {
  ucred cred{};
  socklen_t lSize = sizeof cred;
  return ::getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &cred, &lSize) == 0 &&
         cred.uid == ::getuid();
}

// The targets of a hand-off as they travel: a count, then each path's bytes.
QByteArray Encoded(const std::vector<std::string>& asTargets) {
  QByteArray message;
  QDataStream out(&message, QIODevice::WriteOnly);
  out << static_cast<quint32>(asTargets.size());
  for (const std::string& sTarget : asTargets) out << QByteArray::fromStdString(sTarget);
  return message;
}

// A whole hand-off read from the socket, or false while part of it is still on its way.
bool ReadHandOff(QLocalSocket& socket, std::vector<std::string>& asTargets) {
  QDataStream in(&socket);
  in.startTransaction();
  quint32 lCount = 0;
  in >> lCount;
  asTargets.clear();
  for (quint32 i = 0; i < lCount && in.status() == QDataStream::Ok; ++i) {
    QByteArray target;
    in >> target;
    asTargets.push_back(target.toStdString());
  }
  return in.commitTransaction();
}

}  // namespace

struct SingleWindow::Impl {
  QString sName = SessionPath(QString());
  QLockFile lock{SessionPath(QStringLiteral(".lock"))};
  std::unique_ptr<QLocalServer> pServer;
};

SingleWindow::SingleWindow() : m_pImpl(std::make_unique<Impl>()) {}

SingleWindow::~SingleWindow() = default;

bool SingleWindow::HandToOpenWindow(const std::vector<std::string>& asTargets) {
  // Held from here until this process listens, when no window answers: a start that comes
  // meanwhile waits for it and then finds it.
  m_pImpl->lock.tryLock(kAnswerMilliseconds);
  QLocalSocket socket;
  socket.connectToServer(m_pImpl->sName);
  if (!socket.waitForConnected(kAnswerMilliseconds)) return false;
  m_pImpl->lock.unlock();
  if (!SameUser(socket)) return false;
  socket.write(Encoded(asTargets));
  if (!socket.waitForBytesWritten(kAnswerMilliseconds) || !socket.waitForReadyRead(kAnswerMilliseconds)) return false;
  return socket.read(1) == QByteArray(1, kTaken);
}

void SingleWindow::Receive(std::function<void(const std::vector<std::string>&)> onTargets) {
  if (!m_pImpl->lock.isLocked()) return;
  // Nothing listened when this process looked, under the lock: a socket file left is stale.
  QLocalServer::removeServer(m_pImpl->sName);
  m_pImpl->pServer = std::make_unique<QLocalServer>();
  m_pImpl->pServer->setSocketOptions(QLocalServer::UserAccessOption);
  m_pImpl->pServer->listen(m_pImpl->sName);
  m_pImpl->lock.unlock();
  QLocalServer* pServer = m_pImpl->pServer.get();
  QObject::connect(pServer, &QLocalServer::newConnection, pServer, [pServer, onTargets] {
    while (QLocalSocket* pSocket = pServer->nextPendingConnection()) {
      QObject::connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
      if (!SameUser(*pSocket)) {
        pSocket->abort();
        continue;
      }
      QObject::connect(pSocket, &QLocalSocket::readyRead, pSocket, [pSocket, pServer, onTargets] {
        std::vector<std::string> asTargets;
        if (!ReadHandOff(*pSocket, asTargets)) return;
        // Taken at once, handled once the window is free: a notice about them must not keep
        // the other start waiting.
        pSocket->write(QByteArray(1, kTaken));
        pSocket->flush();
        pSocket->disconnectFromServer();
        QTimer::singleShot(0, pServer, [onTargets, asTargets] { onTargets(asTargets); });
      });
    }
  });
}

}  // namespace tarnwipe
