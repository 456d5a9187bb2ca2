// Measures rectangles of whole-screen captures for the end-to-end test: darkness, change, highlighted row.
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace {

constexpr int kDarkLevel = 24;  // every channel below this counts as black

struct Area {
  int x, y, w, h;
};

bool IsDark(QRgb pixel) { return qRed(pixel) < kDarkLevel && qGreen(pixel) < kDarkLevel && qBlue(pixel) < kDarkLevel; }

// A selected row is drawn in a saturated highlight; the list's text and background are grey or green.
bool IsHighlight(QRgb pixel) { return qBlue(pixel) > 120 && qBlue(pixel) > qRed(pixel) + 60; }

QImage Load(const char* path) {
  QImage image(QString::fromLocal8Bit(path));
  if (image.isNull()) {
    std::fprintf(stderr, "screen_pixels: cannot read %s\n", path);
    std::exit(2);
  }
  return image.convertToFormat(QImage::Format_RGB32);
}

Area ReadArea(char** argv) { return {std::atoi(argv[0]), std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3])}; }

// Percentage (0-100) of the area's pixels that are black; pixels off the image count as black.
int DarkPercent(const QImage& image, Area a) {
  long dark = 0;
  for (int y = a.y; y < a.y + a.h; ++y)
    for (int x = a.x; x < a.x + a.w; ++x) dark += !image.valid(x, y) || IsDark(image.pixel(x, y));
  const long all = static_cast<long>(a.w) * a.h;
  return all > 0 ? static_cast<int>(dark * 100 / all) : 100;
}

// Number of pixels of the area that differ between two captures.
long Differing(const QImage& first, const QImage& second, Area a) {
  long count = 0;
  for (int y = a.y; y < a.y + a.h; ++y)
    for (int x = a.x; x < a.x + a.w; ++x)
      count += !first.valid(x, y) || !second.valid(x, y) || first.pixel(x, y) != second.pixel(x, y);
  return count;
}

// Top (from the area's top) and height of the first run of rows that are mostly highlight; "-1 0" for none.
std::pair<int, int> HighlightedRun(const QImage& image, Area a) {
  int top = -1;
  for (int y = a.y; y < a.y + a.h; ++y) {
    int count = 0;
    for (int x = a.x; x < a.x + a.w; ++x) count += image.valid(x, y) && IsHighlight(image.pixel(x, y));
    const bool highlighted = count * 2 > a.w;
    if (highlighted && top < 0) top = y - a.y;
    if (!highlighted && top >= 0) return {top, y - a.y - top};
  }
  return {top, top < 0 ? 0 : a.h - top};
}

int Usage() {
  std::fputs("usage: screen_pixels dark|highlight FILE X Y W H, or differ FILE1 FILE2 X Y W H\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  if (command == "dark" && argc == 7) {
    std::printf("%d\n", DarkPercent(Load(argv[2]), ReadArea(argv + 3)));
  } else if (command == "differ" && argc == 8) {
    std::printf("%ld\n", Differing(Load(argv[2]), Load(argv[3]), ReadArea(argv + 4)));
  } else if (command == "highlight" && argc == 7) {
    const auto [top, height] = HighlightedRun(Load(argv[2]), ReadArea(argv + 3));
    std::printf("%d %d\n", top, height);
  } else {
    return Usage();
  }
  return 0;
}
