#pragma once
// Helpers of the scanner tests: a program directory holding the built scanner, runs of it, and
// the rows it recorded.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/wait.h>

#include "common/store/datastore.h"
#include "common/text/stored_name.h"
#include "common/text/text_codec.h"
#include "support/program_dir.h"

namespace scanner_test {

struct ScannerRun {
  int exitCode = -1;
  std::string output;
};

inline std::string shellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') quoted += "'\\''";
    else quoted += c;
  }
  return quoted + "'";
}

inline void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs program with the arguments from directory workDir, standard input from /dev/null, with
// at most openFiles descriptors when given, behind launcher (a command prefix) when given.
inline ScannerRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& workDir, int openFiles = 0,
                             const std::string& launcher = "") {
  std::string command = "cd " + shellQuote(workDir) + " && ";
  if (openFiles > 0) command += "ulimit -n " + std::to_string(openFiles) + " && ";
  command += "exec " + launcher + shellQuote(program);
  for (const std::string& argument : arguments) command += " " + shellQuote(argument);
  command += " </dev/null 2>/dev/null";
  ScannerRun run;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[65536];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, got);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// A temporary program directory with the built scanner in it (program directory of this
// process too, so the store and settings helpers look at it).
class ScannerProgramDir {
 public:
  explicit ScannerProgramDir(const std::string& programName = "Sorrelscan") {
    program_ = dir_.path() + programName;
    std::filesystem::copy_file(std::string(SORREL_DIST_DIR) + "/Sorrelscan", program_);
    // The staged store may hold the rows of a demo scan.
    qevExecuteSql("delete from fileinfo");
  }
  const std::string& path() const { return dir_.path(); }
  std::string config(const std::string& name) const { return dir_.path() + "config/" + name; }

  void writeScanList(const std::vector<std::string>& lines) const {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    writeFile(config("ScanDir.txt"), text);
  }

  ScannerRun run(const std::vector<std::string>& arguments = {"/FileScan"},
                 const std::string& workDir = "", int openFiles = 0) const {
    return runProgram(program_, arguments, workDir.empty() ? dir_.path() : workDir, openFiles);
  }

  // A run that is refused what the permission bits refuse: as root, without the capabilities
  // that let root open any directory.
  ScannerRun runBoundByPermissions() const {
    const std::string launcher =
        geteuid() == 0 ? "setpriv --inh-caps=-dac_override,-dac_read_search "
                         "--bounding-set=-dac_override,-dac_read_search "
                       : "";
    return runProgram(program_, {"/FileScan"}, dir_.path(), 0, launcher);
  }

 private:
  TemporaryProgramDir dir_;
  std::string program_;
};

struct StoredRow {
  std::string fid, regdate, filenameid, filename, filepath, filesize, filesize2, compactDatabase,
      filechkval, fileinfo, filetype;
};

// Every fileinfo row in insertion order.
inline std::vector<StoredRow> storedRows() {
  std::vector<StoredRow> rows;
  qevQueryRows("select * from fileinfo order by id", [&](const StoreRow& row) {
    StoredRow r;
    row.text("fid", r.fid);
    row.text("regdate", r.regdate);
    row.text("filenameid", r.filenameid);
    row.text("filename", r.filename);
    row.text("filepath", r.filepath);
    row.text("filesize", r.filesize);
    row.text("filesize2", r.filesize2);
    row.text("CompactDatabase", r.compactDatabase);
    row.text("filechkval", r.filechkval);
    row.text("fileinfo", r.fileinfo);
    row.text("filetype", r.filetype);
    rows.push_back(r);
    return true;
  });
  return rows;
}

// The bytes of a stored name or path (Base64 of UTF-16LE, back to the file system's bytes).
inline std::string decodedPath(const std::string& stored) {
  std::u16string wide;
  if (!qevDecodeStoredName(stored, wide)) return "<undecodable>";
  std::string bytes;
  qevWideToAnsi(wide, bytes);
  return bytes;
}

inline std::vector<std::string> decodedPaths(const std::vector<StoredRow>& rows) {
  std::vector<std::string> paths;
  for (const StoredRow& row : rows) paths.push_back(decodedPath(row.filepath));
  return paths;
}

inline void touch(const std::string& path, const std::string& content = "") { writeFile(path, content); }

// A chain of depth directories named component below base, built by descriptors so that paths
// longer than PATH_MAX work; files are created in the deepest one. Answers false on failure.
inline bool makeDeepChain(const std::string& base, int depth, const std::string& component,
                          const std::vector<std::string>& deepestFiles) {
  int fd = open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (int level = 0; fd >= 0 && level < depth; ++level) {
    if (mkdirat(fd, component.c_str(), 0755) != 0) {
      close(fd);
      return false;
    }
    const int next = openat(fd, component.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    close(fd);
    fd = next;
  }
  if (fd < 0) return false;
  bool ok = true;
  for (const std::string& name : deepestFiles) {
    const int file = openat(fd, name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ok = ok && file >= 0;
    if (file >= 0) close(file);
  }
  close(fd);
  return ok;
}

// Removes a tree of any depth (the standard library gives up beyond PATH_MAX).
inline void removeTree(const std::string& path) { runShell("rm -rf " + shellQuote(path)); }

}  // namespace scanner_test
