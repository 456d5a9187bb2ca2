// The rows of the recording catalogue, their order, and the row of the recording being played.
//
// The catalogue's list model holds one CCatalogueRows; the window reaches it through the catalogue
// (CRecordingCatalogue) for the transport: OpenFrom plays the first row from a given one that opens,
// NextRow/PreviousRow name the rows Next and Previous play, PlayingRow the row to highlight, and
// ClearPlayingRow is Stop's "current index -1". The playing row is followed by the recording, not by its
// number, so sorts, searches, drops and deletes never make Next play the wrong row.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vx {

// One row: the texts of the five columns, the file's size for sorting by size, the path to open (with its
// rear partner's), and whether the recording has been found to be unplayable.
struct RecordingEntry {
  std::u16string fileName;
  std::u16string date;
  std::u16string size;
  std::u16string path;
  std::u16string event;
  std::optional<std::uint64_t> bytes;  // empty when the file could not be queried
  // The path's bytes as the file system gives them: a name that is not valid UTF-8 has no exact text in
  // `path`, yet opens by these bytes.
  std::string filePath;
  // The rear lens's file of the same moment, when the camera writes front and rear as two files (bytes as
  // the file system gives them); empty for none.
  std::string partnerFilePath;
  bool unplayable = false;  // the last attempt to open it failed
};

inline constexpr int kColumnFileName = 0;
inline constexpr int kColumnDate = 1;
inline constexpr int kColumnSize = 2;
inline constexpr int kColumnPath = 3;
inline constexpr int kColumnEvent = 4;
inline constexpr int kColumnCount = 5;

// The text shown in a column (0-4) of a row.
const std::u16string& ColumnText(const RecordingEntry& entry, int column);

class CCatalogueRows {
 public:
  int Count() const { return static_cast<int>(m_rows.size()); }
  const RecordingEntry& At(int row) const { return m_rows.at(static_cast<std::size_t>(row)).entry; }

  void Append(RecordingEntry entry);

  // Sorts by a column (texts compared case-sensitively, the size column by bytes), keeping the order of
  // equal rows. Returns the old row number of each new row.
  std::vector<int> Sort(int column, bool ascending);
  // A click on a column title: the same column again flips the direction, another column sorts ascending.
  std::vector<int> SortByColumnClick(int column);
  int SortColumn() const { return m_nSortColumn; }
  bool SortAscending() const { return m_bSortAscending; }

  // Removes `count` rows from `first`; no file is touched.
  void RemoveRows(int first, int count);
  void RemoveAll();

  // Row of the recording being played; -1 when none, or when its row was removed.
  int PlayingRow() const;
  void SetPlayingRow(int row);
  void ClearPlayingRow();
  // The row Next plays: the one after the playing row; when that row was removed, the row that followed it
  // (Count() when none did); row 0 when nothing plays. Count() or more means past the last row.
  int NextRow() const;
  // The row Previous plays: the one before the playing row (or before where it stood); -1 for none.
  int PreviousRow() const;

  // Tries the rows from `row` on, each becoming the playing row, until `open` succeeds with one: returns
  // that row. When every row to the last fails (or `row` is outside the list) nothing plays and -1 comes
  // back, so the window stops and is idle. `open` may change the rows; the loop follows the playing row.
  int OpenFrom(int row, const std::function<bool(const RecordingEntry&)>& open);
  // Tries `row` alone: returns it when `open` succeeds with it, else -1 and nothing plays. Both this and
  // OpenFrom mark each row tried as unplayable or not by how `open` went.
  int OpenOnly(int row, const std::function<bool(const RecordingEntry&)>& open);

 private:
  struct Row {
    std::uint64_t id;
    RecordingEntry entry;
  };
  static constexpr std::uint64_t kNoRow = 0;

  int IndexOf(std::uint64_t id) const;
  // Makes `row` the playing row and opens it; false when it did not open.
  bool TryOpen(int row, const std::function<bool(const RecordingEntry&)>& open);

  std::vector<Row> m_rows;
  std::uint64_t m_nLastId = kNoRow;
  int m_nSortColumn = kColumnFileName;
  bool m_bSortAscending = true;
  std::uint64_t m_nPlayingId = kNoRow;
  bool m_bPlayingRemoved = false;
  std::uint64_t m_nFollowerId = kNoRow;  // after a removal: the row that followed the playing one
};

}  // namespace vx
