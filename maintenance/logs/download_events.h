#pragma once
#include <cstdint>
#include <string>

// What a download run did with each server and each listed file, for a front end that shows
// it line by line.
struct DownloadEvent {
  enum class Kind {
    NoSession,       // the agent gave no session: the server is skipped
    NoList,          // the agent gave no list: the server is skipped
    Listed,          // count = the files listed and taken into the run
    ListCut,         // count = listed files left out, the run's table of files being full
    Fetched,         // stored and recorded; size = bytes; imported tells whether fmlog took the rows
    AlreadyFetched,  // recorded as fetched before: not requested
    SizeRefused,     // the listed size is outside 10..104,857,600: not requested
    FetchFailed,     // the exchange or the size and CRC checks failed
    StoreFailed,     // the local name is not a plain name, or the file could not be written
  };
  Kind kind = Kind::NoSession;
  std::string ip;
  std::string name;  // the listed name, for file events
  std::uint64_t size = 0;
  std::uint64_t count = 0;
  bool imported = false;
};

// One line for the event, for the operator ("已下载：192.168.1.5 x_FMLog_2026.txt（1234 字节），已导入数据库").
std::string qevDownloadEventText(const DownloadEvent& event);
