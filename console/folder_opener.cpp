#include "console/folder_opener.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>

#include "common/process/process.h"
#include "common/text/text_codec.h"

namespace {

constexpr int kDBusTimeoutMilliseconds = 3000;

// file:// address of a path's bytes, percent-encoded byte by byte so that names that are not
// valid UTF-8 still name the same entry.
QString fileAddress(const std::string& path) {
  const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
  return QString::fromLatin1("file://" + bytes.toPercentEncoding("/"));
}

bool showItemsOverDBus(const std::string& path) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                                                     "org.freedesktop.FileManager1", "ShowItems");
  call << QStringList{fileAddress(path)} << QString();
  const QDBusMessage reply = bus.call(call, QDBus::Block, kDBusTimeoutMilliseconds);
  return reply.type() == QDBusMessage::ReplyMessage;
}

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool qevShowInFolder(const std::u16string& path) {
  std::string ansi;
  if (path.empty() || qevWideToAnsi(path, ansi) != 1) return false;
  if (showItemsOverDBus(ansi)) return true;
  return qevRunProgram({"xdg-open", folderOf(ansi)}, 0) != 0;
}

bool qevOpenAddress(const std::string& address) { return qevRunProgram({"xdg-open", address}, 0) != 0; }
