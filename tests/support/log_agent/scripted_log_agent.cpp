// sorrel_log_agent: a log agent for tests. It serves the agent protocol on a loopback address from a
// directory of log files and misbehaves on request.
//
//   sorrel_log_agent --dir DIR [--address A] [--port N] [--password TEXT] [--session-id TEXT] [--passcode TEXT]
//                    [--level N] [--requests FILE] [--fault STEP:MODE[:NAME]]... [--answer STEP:FILE]...
//
// --dir       the log files: every regular file directly in DIR, listed in name order with its
//             size and CRC-32, fetched as one zlib stream (level --level, default 6). Files are
//             read again when they change.
// --address   the loopback address to serve on (default 127.0.0.1; any of 127.0.0.0/8 works, so
//             tests can give two agents two server addresses).
// --port      0 (default) takes a free port. Once ready, the agent prints "port N" and a newline
//             on standard output; it serves until it is killed or its parent ends.
// --password  the server password the proof is checked against (default "secret").
// --session-id, --passcode  what every session gets (default: a new pair per session).
// --requests  every complete request is appended to FILE as received, followed by "\n".
// --answer    STEP is session, list or fetch: that step answers with the bytes of FILE, whatever
//             the request (no proof check).
// --fault     STEP is session, list, fetch or any; for fetch, NAME limits it to one file. MODE:
//               empty          close without sending a byte
//               silent         keep the connection open without a byte until the client leaves
//               endless        send bytes without end
//               trickle        send the answer one byte a second
//               no-keyword     (session, list) no qevkeyword line
//               wrong-keyword  (session, list) qevkeyword=1001
//               huge-body      (list) a body of 10,485,761 bytes
//               wrong-size     (list) every listed size one more than the file's
//               wrong-crc      (list) every listed CRC one more than the file's
//               crc-leading-zero (list) every listed CRC written with a leading "0"
//               bad-names      (list) also lists "sub/x_FMLog.txt", "sub\x_FMLog.txt",
//                              "../x_FMLog.txt" and "..", with the first file's size and CRC;
//                              fetching them gives the first file
//               plain          (fetch) the file's plain bytes instead of a zlib stream
//               bomb           (fetch) a zlib stream that inflates to 64 MiB beyond the file
//
// Requests a proof does not match (unknown session id, wrong password) get "qevkeyword=1002" on
// a list and nothing on a fetch.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <zlib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "log_directory.h"

namespace {

constexpr int kRequestWaitMilliseconds = 10'000;
constexpr std::size_t kMaxRequestBytes = 1 << 20;
constexpr std::size_t kOversizeBody = 10'485'761;
constexpr std::size_t kBombExtraBytes = 64u << 20;

struct Fault {
  std::string step;
  std::string mode;
  std::string name;  // fetch only; empty for every file
};

struct Options {
  std::string directory;
  std::string address = "127.0.0.1";
  int port = 0;
  std::string password = "secret";
  std::string sessionId;
  std::string passcode;
  int level = 6;
  std::string requestLog;
  std::vector<Fault> faults;
  std::map<std::string, std::string> answers;  // step -> file
};

void usage() {
  std::fprintf(stderr,
               "usage: sorrel_log_agent --dir DIR [--address A] [--port N] [--password TEXT] [--session-id TEXT]\n"
               "       [--passcode TEXT] [--level N] [--requests FILE] [--fault STEP:MODE[:NAME]]...\n"
               "       [--answer STEP:FILE]...\n");
  std::exit(2);
}

bool parseOptions(int argc, char** argv, Options& options) {
  std::string port = "0";
  std::string level = "6";
  const std::map<std::string, std::string*> texts = {
      {"--dir", &options.directory},      {"--port", &port},  {"--address", &options.address},
      {"--password", &options.password},  {"--session-id", &options.sessionId},
      {"--passcode", &options.passcode},  {"--level", &level},
      {"--requests", &options.requestLog}};
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    const std::string value = argv[i + 1];
    const auto text = texts.find(option);
    const std::size_t colon = value.find(':');
    if (text != texts.end()) {
      *text->second = value;
    } else if (option == "--answer" && colon != std::string::npos) {
      options.answers[value.substr(0, colon)] = value.substr(colon + 1);
    } else if (option == "--fault" && colon != std::string::npos) {
      const std::string rest = value.substr(colon + 1);
      const std::size_t second = rest.find(':');
      options.faults.push_back(Fault{value.substr(0, colon), rest.substr(0, second),
                                     second == std::string::npos ? std::string() : rest.substr(second + 1)});
    } else {
      return false;
    }
  }
  options.port = std::stoi(port);
  options.level = std::stoi(level);
  return argc % 2 == 1 && !options.directory.empty();
}

std::string md5Hex(const std::string& text) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_Digest(text.data(), text.size(), digest, &length, EVP_md5(), nullptr);
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) {
    hex += kDigits[digest[i] >> 4];
    hex += kDigits[digest[i] & 0x0F];
  }
  return hex;
}

std::string readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string zlibStream(const std::string& plain) {
  uLongf length = compressBound(static_cast<uLong>(plain.size()));
  std::string stream(length, '\0');
  compress2(reinterpret_cast<Bytef*>(stream.data()), &length, reinterpret_cast<const Bytef*>(plain.data()),
            static_cast<uLong>(plain.size()), 1);
  stream.resize(length);
  return stream;
}

// --- the connection -------------------------------------------------------------------------

bool waitReadable(int fd, int milliseconds) {
  pollfd entry{fd, POLLIN, 0};
  return poll(&entry, 1, milliseconds) > 0;
}

bool sendBytes(int fd, const char* bytes, std::size_t count) {
  while (count > 0) {
    const ssize_t sent = send(fd, bytes, count, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes += sent;
    count -= static_cast<std::size_t>(sent);
  }
  return true;
}

// A request is complete after "qevkeyword", TAB, the command and TAB, and for a command with
// parameters one more TAB after them.
bool requestComplete(const std::string& request) {
  const std::size_t first = request.find('\t');
  if (first == std::string::npos) return false;
  const std::size_t second = request.find('\t', first + 1);
  if (second == std::string::npos) return false;
  if (request.compare(first + 1, second - first - 1, "getsessionid") == 0) return true;
  return request.find('\t', second + 1) != std::string::npos;
}

bool readRequest(int fd, std::string& request) {
  char buffer[4096];
  while (!requestComplete(request)) {
    if (request.size() > kMaxRequestBytes || !waitReadable(fd, kRequestWaitMilliseconds)) return false;
    const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
    if (got <= 0) return false;
    request.append(buffer, static_cast<std::size_t>(got));
  }
  return true;
}

// Waits (at most ten minutes) until the client closes its side.
void waitForClientToLeave(int fd) {
  char buffer[256];
  const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(10);
  while (std::chrono::steady_clock::now() < end) {
    if (!waitReadable(fd, 1000)) continue;
    if (recv(fd, buffer, sizeof buffer, 0) <= 0) return;
  }
}

void sendEndlessly(int fd) {
  std::string chunk;
  while (chunk.size() < 65'536) chunk += "more=0123456789\r\n";
  while (sendBytes(fd, chunk.data(), chunk.size())) {
  }
}

void sendTrickling(int fd, const std::string& answer) {
  for (const char c : answer) {
    if (!sendBytes(fd, &c, 1)) return;
    std::this_thread::sleep_for(std::chrono::seconds(1));
  }
}

// --- the agent ------------------------------------------------------------------------------

struct Request {
  std::string command;
  std::map<std::string, std::string> parameters;
};

Request parseRequest(const std::string& text) {
  Request request;
  const std::size_t first = text.find('\t');
  const std::size_t second = text.find('\t', first + 1);
  request.command = text.substr(first + 1, second - first - 1);
  const std::size_t third = text.find('\t', second + 1);
  const std::string parameters =
      third == std::string::npos ? std::string() : text.substr(second + 1, third - second - 1);
  std::size_t start = 0;
  while (start < parameters.size()) {
    const std::size_t end = std::min(parameters.find('&', start), parameters.size());
    const std::string pair = parameters.substr(start, end - start);
    const std::size_t equals = pair.find('=');
    if (equals != std::string::npos) request.parameters[pair.substr(0, equals)] = pair.substr(equals + 1);
    start = end + 1;
  }
  return request;
}

std::string stepOf(const std::string& command) {
  if (command == "getsessionid") return "session";
  if (command == "getfilemonlogdir") return "list";
  if (command == "getfilemonlogfile") return "fetch";
  return {};
}

class Agent {
 public:
  explicit Agent(Options options) : options_(std::move(options)), logs_(options_.directory, options_.level) {}

  LogDirectory& logs() { return logs_; }

  void serve(int fd) {
    std::string text;
    if (readRequest(fd, text)) answer(fd, text);
    close(fd);
  }

 private:
  void answer(int fd, const std::string& text) {
    logRequest(text);
    const Request request = parseRequest(text);
    const std::string step = stepOf(request.command);
    const auto parameter = request.parameters.find("filename");
    const std::string fileName = parameter == request.parameters.end() ? std::string() : parameter->second;
    const std::string mode = faultFor(step, fileName);
    if (mode == "empty") return;
    if (mode == "silent") return waitForClientToLeave(fd);
    if (mode == "endless") return sendEndlessly(fd);

    std::string reply;
    const auto fixed = options_.answers.find(step);
    if (fixed != options_.answers.end()) {
      reply = readWholeFile(fixed->second);
    } else if (step == "session") {
      reply = sessionAnswer(mode);
    } else if (step == "list") {
      reply = proven(request) ? listAnswer(mode) : "qevkeyword=1002\r\n\r\n";
    } else if (step == "fetch" && proven(request)) {
      reply = fetchAnswer(mode, fileName);
    }
    if (mode == "trickle") return sendTrickling(fd, reply);
    sendBytes(fd, reply.data(), reply.size());
  }

  std::string faultFor(const std::string& step, const std::string& fileName) const {
    for (const Fault& fault : options_.faults) {
      if (fault.step != step && fault.step != "any") continue;
      if (!fault.name.empty() && fault.name != fileName) continue;
      return fault.mode;
    }
    return {};
  }

  void logRequest(const std::string& text) {
    if (options_.requestLog.empty()) return;
    const std::lock_guard<std::mutex> lock(mutex_);
    std::ofstream(options_.requestLog, std::ios::binary | std::ios::app) << text << "\n";
  }

  std::string sessionAnswer(const std::string& mode) {
    const int number = ++sessions_;
    const std::string id = options_.sessionId.empty() ? "sid" + std::to_string(number) + "x" : options_.sessionId;
    const std::string code = options_.passcode.empty() ? "pc" + std::to_string(number * 7919) : options_.passcode;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      passcodes_[id] = code;
    }
    return keywordLine(mode) + "sessionid=" + id + "\r\npasscode=" + code + "\r\n";
  }

  bool proven(const Request& request) {
    const auto id = request.parameters.find("sessionid");
    const auto proof = request.parameters.find("password");
    if (id == request.parameters.end() || proof == request.parameters.end()) return false;
    std::string code;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      const auto issued = passcodes_.find(id->second);
      if (issued == passcodes_.end()) return false;
      code = issued->second;
    }
    return proof->second == md5Hex(id->second + md5Hex(options_.password + code));
  }

  static std::string keywordLine(const std::string& mode) {
    if (mode == "no-keyword") return "agent=scripted\r\n";
    return mode == "wrong-keyword" ? "qevkeyword=1001\r\n" : "qevkeyword=1000\r\n";
  }

  static std::string listLine(const std::string& name, std::uint64_t size, std::uint32_t crc, const std::string& mode) {
    if (mode == "wrong-size") ++size;
    std::string crcText = std::to_string(mode == "wrong-crc" ? crc + 1u : crc);
    if (mode == "crc-leading-zero") crcText = "0" + crcText;
    return name + "\t" + std::to_string(size) + "\t" + crcText + "\r\n";
  }

  std::string listAnswer(const std::string& mode) {
    std::string body;
    const std::vector<LogFile> files = logs_.files();
    for (const LogFile& file : files) body += listLine(file.name, file.size, file.crc, mode);
    if (mode == "bad-names" && !files.empty()) {
      for (const char* name : {"sub/x_FMLog.txt", "sub\\x_FMLog.txt", "../x_FMLog.txt", ".."}) {
        body += listLine(name, files.front().size, files.front().crc, mode);
      }
    }
    if (mode == "huge-body") {
      body += std::string(kOversizeBody > body.size() + 2 ? kOversizeBody - body.size() - 2 : 0, 'x');
      body += "\r\n";
    }
    return keywordLine(mode) + "\r\n" + body;
  }

  std::string fetchAnswer(const std::string& mode, const std::string& name) {
    LogFile file;
    if (!logs_.find(name, file)) {
      const std::vector<LogFile> files = logs_.files();
      const bool badName = name.find('/') != std::string::npos || name.find('\\') != std::string::npos ||
                           name.find("..") != std::string::npos;
      if (!badName || files.empty()) return {};
      file = files.front();
    }
    if (mode == "plain") return *file.plain;
    if (mode == "bomb") return zlibStream(*file.plain + std::string(kBombExtraBytes, '\0'));
    return *file.compressed;
  }

  Options options_;
  LogDirectory logs_;
  std::mutex mutex_;
  std::map<std::string, std::string> passcodes_;
  std::atomic<int> sessions_{0};
};

int listenOn(const std::string& host, int port, int& chosenPort) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  const int yes = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) {
    close(fd);
    return -1;
  }
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 64) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(fd);
    return -1;
  }
  chosenPort = ntohs(address.sin_port);
  return fd;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  try {
    if (!parseOptions(argc, argv, options)) usage();
  } catch (const std::exception&) {
    usage();
  }
  signal(SIGPIPE, SIG_IGN);
  // A test that dies must not leave its agent behind.
  prctl(PR_SET_PDEATHSIG, SIGTERM);

  Agent agent(options);
  agent.logs().files();  // streams made before the first client waits for them
  int port = 0;
  const int listener = listenOn(options.address, options.port, port);
  if (listener < 0) {
    std::perror("sorrel_log_agent: cannot listen");
    return 1;
  }
  std::printf("port %d\n", port);
  std::fflush(stdout);
  for (;;) {
    const int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    std::thread([&agent, client] { agent.serve(client); }).detach();
  }
}
