#pragma once
#include <QTextBrowser>
#include <string>

class QNetworkAccessManager;

// The help pane 1082: shows a page by address. Local pages are shown directly; http(s) pages are
// fetched in the background (10 s time-out) and shown when they arrive. A page that cannot be
// loaded leaves the pane as it is.
class CHelpinfo : public QTextBrowser {
  Q_OBJECT

 public:
  explicit CHelpinfo(QWidget* parent = nullptr);
  void navigate(const std::string& address);
  // The address asked for last, whether or not it could be shown.
  const std::string& address() const { return address_; }
  // Whether http(s) pages are fetched (on by default; tests keep off the network).
  void setRemotePages(bool fetch) { remotePages_ = fetch; }

 private:
  void fetch(const QUrl& url);

  QNetworkAccessManager* network_ = nullptr;
  std::string address_;
  bool remotePages_ = true;
};
