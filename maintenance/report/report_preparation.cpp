#include "maintenance/report/report_preparation.h"

#include "common/files/exe_dir.h"
#include "common/files/long_path.h"
#include "common/files/paths.h"
#include "common/messages/prompter.h"
#include "common/platform/files.h"
#include "common/store/datastore.h"
#include "common/text/ascii_case.h"
#include "common/text/check_value.h"
#include "common/text/decimal_text.h"
#include "common/text/text_codec.h"
#include "maintenance/report/report_copies.h"

namespace {

constexpr std::size_t kMaxKeyDigits = 19;
constexpr std::size_t kCheckValueLength = 32;
constexpr int kMaxCount = 0x63fffff;

bool isRowKey(const std::string& key) {
  if (key.empty() || key.size() > kMaxKeyDigits) return false;
  for (const char c : key) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The report directory, created when missing; "" after the operator was told. A link in its
// place is never written through.
std::string usableReportDirectory(Prompter& prompter, const std::string& reportDir) {
  if (qevDirectoryExists(reportDir) == 1) return reportDir;
  if (qevPathExists(reportDir) != 1) qevCreateDirectoryChain(reportDir);
  if (qevDirectoryExists(reportDir) == 1) return reportDir;
  prompter.inform("建立目录“" + reportDir + "”失败，请重试！", MessageIcon::Question);
  return {};
}

// The logged file of the row, when it is a file of 1..511,999 bytes.
bool reportableFile(const std::string& key, std::u16string& path) {
  std::string logged;
  if (qevReadFmlogValue("id", key, "filename", logged) != 1 || logged.front() != '/') return false;
  std::uint64_t size = 0;
  return qevAnsiToWide(logged, path) == 1 && qevGetPathInfo(path, size) == 1 && size >= 1 &&
         size <= kMaxReportedFileBytes;
}

// The file is the one the monitor logged, and no earlier report of it has a status.
bool isNewReport(const std::string& key, const std::string& checkValue) {
  std::string logged;
  if (checkValue.size() != kCheckValueLength || qevReadFmlogValue("id", key, "filechkvalue", logged) != 1 ||
      !qevEqualsIgnoringAsciiCase(checkValue, logged)) {
    return false;
  }
  std::string status;
  return qevReadLatestValue("reportfile", "filechkval", checkValue, "id", "reportstatus", status) == 2;
}

bool recordCopy(const std::string& checkValue, const std::string& copyValue) {
  return qevExecuteSql("insert into reportfile(filechkval,newfilechkval,reportstatus) values ('" +
                       qevSqlQuote(checkValue) + "', '" + qevSqlQuote(copyValue) + "', '" +
                       kReportWaitingStatus + "')") == 1;
}

bool reportRow(const std::string& reportDir, const std::string& key) {
  std::u16string source;
  std::string checkValue;
  if (!isRowKey(key) || !reportableFile(key, source) || qevFileCheckValue(source, kCheckName, checkValue) != 1 ||
      !isNewReport(key, checkValue)) {
    return false;
  }
  const std::string copyPath = qevReportCopyPath(reportDir, checkValue);
  std::u16string copy;
  std::string copyValue;
  if (qevAnsiToWide(copyPath, copy) != 1 ||
      qevPackFileForReport(source, copy, kReportKeyText, kCheckName, copyValue) != 1) {
    return false;
  }
  if (recordCopy(checkValue, copyValue)) return true;
  // Unrecorded, the copy would be sent without anyone knowing it was.
  sorrel::platform::removeFile(copyPath);
  return false;
}

int waitingCopies() {
  std::string count;
  if (qevReadFirstValue("select count(*) as tfilenum from reportfile where reportstatus = '2'", "tfilenum",
                        count) != 1 ||
      count.size() > 4) {
    return 0;
  }
  return static_cast<int>(qevReadDecimal(count));
}

}  // namespace

int qevPrepareReport(Prompter& prompter, const std::vector<std::string>& rowKeys, int& count) {
  count = 0;
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) {
    prompter.inform(kExeDirFailedMessage, MessageIcon::Question);
    return 0;
  }
  const std::string reportDir = qevReportDirectoryOf(programDir);
  if (qevDirectoryExists(reportDir) == 1) qevRemoveOldReportCopies(reportDir);
  if (usableReportDirectory(prompter, reportDir).empty()) return 0;
  for (const std::string& key : rowKeys) {
    if (reportRow(reportDir, key)) ++count;
  }
  if (count == 0) count = waitingCopies();
  if (count < 1 || count > kMaxCount) count = 0;
  return 1;
}
