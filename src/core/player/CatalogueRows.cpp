// Catalogue rows: append, sort, remove, and the playing row that follows its recording.
#include "core/player/CatalogueRows.h"

#include <algorithm>
#include <numeric>

namespace vx {
namespace {

bool Less(const RecordingEntry& a, const RecordingEntry& b, int column) {
  if (column == kColumnSize) return a.bytes < b.bytes;  // an unknown size first
  return ColumnText(a, column) < ColumnText(b, column);
}

}  // namespace

const std::u16string& ColumnText(const RecordingEntry& entry, int column) {
  switch (column) {
    case kColumnDate: return entry.date;
    case kColumnSize: return entry.size;
    case kColumnPath: return entry.path;
    case kColumnEvent: return entry.event;
    default: return entry.fileName;
  }
}

void CCatalogueRows::Append(RecordingEntry entry) { m_rows.push_back({++m_nLastId, std::move(entry)}); }

std::vector<int> CCatalogueRows::Sort(int column, bool ascending) {
  std::vector<int> order(m_rows.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const RecordingEntry& left = m_rows[static_cast<std::size_t>(a)].entry;
    const RecordingEntry& right = m_rows[static_cast<std::size_t>(b)].entry;
    return ascending ? Less(left, right, column) : Less(right, left, column);
  });
  std::vector<Row> sorted;
  sorted.reserve(m_rows.size());
  for (const int old : order) sorted.push_back(std::move(m_rows[static_cast<std::size_t>(old)]));
  m_rows = std::move(sorted);
  return order;
}

std::vector<int> CCatalogueRows::SortByColumnClick(int column) {
  m_bSortAscending = column == m_nSortColumn ? !m_bSortAscending : true;
  m_nSortColumn = column;
  return Sort(column, m_bSortAscending);
}

void CCatalogueRows::RemoveRows(int first, int count) {
  const int begin = std::clamp(first, 0, Count());
  const int end = std::clamp(first + std::max(count, 0), begin, Count());
  if (begin == end) return;
  const auto removed = [&](std::uint64_t id) {
    const int index = IndexOf(id);
    return index >= begin && index < end;
  };
  const bool playingGoes = !m_bPlayingRemoved && m_nPlayingId != kNoRow && removed(m_nPlayingId);
  const bool followerGoes = m_bPlayingRemoved && m_nFollowerId != kNoRow && removed(m_nFollowerId);
  m_rows.erase(m_rows.begin() + begin, m_rows.begin() + end);
  if (playingGoes || followerGoes) {
    m_bPlayingRemoved = true;
    m_nFollowerId = begin < Count() ? m_rows[static_cast<std::size_t>(begin)].id : kNoRow;
  }
}

void CCatalogueRows::RemoveAll() { RemoveRows(0, Count()); }

int CCatalogueRows::PlayingRow() const { return m_bPlayingRemoved ? -1 : IndexOf(m_nPlayingId); }

void CCatalogueRows::SetPlayingRow(int row) {
  ClearPlayingRow();
  if (row >= 0 && row < Count()) m_nPlayingId = m_rows[static_cast<std::size_t>(row)].id;
}

void CCatalogueRows::ClearPlayingRow() {
  m_nPlayingId = kNoRow;
  m_bPlayingRemoved = false;
  m_nFollowerId = kNoRow;
}

int CCatalogueRows::NextRow() const {
  if (m_bPlayingRemoved) return m_nFollowerId == kNoRow ? Count() : IndexOf(m_nFollowerId);
  return PlayingRow() + 1;
}

int CCatalogueRows::PreviousRow() const {
  const int previous = m_bPlayingRemoved ? NextRow() - 1 : PlayingRow() - 1;
  return std::max(previous, -1);
}

int CCatalogueRows::OpenFrom(int row, const std::function<bool(const RecordingEntry&)>& open) {
  for (int i = row; i >= 0 && i < Count(); i = NextRow()) {
    if (TryOpen(i, open)) return PlayingRow();
  }
  ClearPlayingRow();
  return -1;
}

int CCatalogueRows::OpenOnly(int row, const std::function<bool(const RecordingEntry&)>& open) {
  if (row >= 0 && row < Count() && TryOpen(row, open)) return PlayingRow();
  ClearPlayingRow();
  return -1;
}

bool CCatalogueRows::TryOpen(int row, const std::function<bool(const RecordingEntry&)>& open) {
  SetPlayingRow(row);
  const RecordingEntry entry = At(row);  // `open` may change the rows
  const bool opened = open(entry);
  const int tried = PlayingRow();
  if (tried >= 0) m_rows[static_cast<std::size_t>(tried)].entry.unplayable = !opened;
  return opened;
}

int CCatalogueRows::IndexOf(std::uint64_t id) const {
  if (id == kNoRow) return -1;
  const auto found = std::find_if(m_rows.begin(), m_rows.end(), [id](const Row& r) { return r.id == id; });
  return found == m_rows.end() ? -1 : static_cast<int>(found - m_rows.begin());
}

}  // namespace vx
