-- The empty data store config/FileInfo.dat is made from this file at build time.
-- Text columns are those that statements compare with quoted literals; numeric columns are
-- compared or written unquoted (a quoted number written to them is stored as a number).
-- filetime is filled by the store with the local time of the insert.

-- Write-ahead log: the desktop program reads while the scanner records, neither waits for
-- the other. The mode is kept in the file, so every connection uses it.
PRAGMA journal_mode = WAL;

CREATE TABLE fileinfo (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  fid TEXT,
  regdate TEXT,
  filenameid TEXT,
  filename TEXT,
  filepath TEXT,
  filesize INTEGER,
  filesize2 INTEGER,
  CompactDatabase TEXT,
  filechkval TEXT,
  fileinfo TEXT,
  filetype INTEGER,
  filetime TEXT DEFAULT (datetime('now', 'localtime'))
);
-- Record lookups go by filenameid and the cleaning updates by filepath, one row at a time.
CREATE INDEX fileinfo_filenameid ON fileinfo (filenameid);
CREATE INDEX fileinfo_filepath ON fileinfo (filepath);

CREATE TABLE fmlog (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  fid TEXT,
  serip TEXT,
  regdate TEXT,
  regtime TEXT,
  fileextname TEXT,
  fileaction TEXT,
  chkfile TEXT,
  chkfileinfo TEXT,
  blockfile TEXT,
  blockfileinfo TEXT,
  filename TEXT,
  filesize TEXT,
  filechkvalue TEXT,
  filetype TEXT
);

CREATE TABLE downloadinfo (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  ip TEXT,
  filename TEXT,
  filesize INTEGER,
  status TEXT,
  adddb TEXT
);

CREATE TABLE serverip (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  ip TEXT,
  port TEXT,
  username TEXT,
  password TEXT,
  remark TEXT
);

CREATE TABLE reportfile (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  filechkval TEXT,
  newfilechkval TEXT,
  reportstatus TEXT
);
