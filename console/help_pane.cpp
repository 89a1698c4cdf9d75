#include "console/help_pane.h"

#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace {
constexpr int kFetchTimeoutMilliseconds = 10000;
constexpr qint64 kMaxPageBytes = 4 * 1024 * 1024;
}  // namespace

CHelpinfo::CHelpinfo(QWidget* parent) : QTextBrowser(parent) {
  setOpenLinks(false);
  setReadOnly(true);
}

void CHelpinfo::navigate(const std::string& address) {
  address_ = address;
  const QUrl url = QUrl::fromUserInput(QString::fromStdString(address));
  if (!url.isValid()) return;
  if (url.isLocalFile()) {
    if (QFileInfo::exists(url.toLocalFile())) setSource(url);
    return;
  }
  if (remotePages_ && (url.scheme() == "http" || url.scheme() == "https")) fetch(url);
}

void CHelpinfo::fetch(const QUrl& url) {
  if (network_ == nullptr) network_ = new QNetworkAccessManager(this);
  QNetworkRequest request(url);
  request.setTransferTimeout(kFetchTimeoutMilliseconds);
  QNetworkReply* reply = network_->get(request);
  connect(reply, &QNetworkReply::finished, this, [this, reply, url] {
    reply->deleteLater();
    // Only the page asked for last is shown; a failed fetch shows nothing more.
    if (reply->error() != QNetworkReply::NoError || QUrl::fromUserInput(QString::fromStdString(address_)) != url) return;
    const QByteArray page = reply->read(kMaxPageBytes);
    setHtml(QString::fromUtf8(page));
  });
}
