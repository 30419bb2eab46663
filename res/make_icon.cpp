// Draws the program icon and writes it as a Windows .ico: a monitor with a
// report on its screen, at 16x16 and 32x32, each in the 16 standard colours
// (which Windows 95 shows) and in 256-colour form with the picture's own exact
// colours, whose palette lists only those few. The picture is either opaque
// or clear, which the mask says: 32 bits with alpha would show the same at
// three times the size. Uncompressed bitmaps throughout.
//
//   make_icon OUTPUT.ico
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

struct Rgba {
  uint8_t r, g, b, a;
};

// The 16 colours of the standard Windows palette.
const Rgba kPalette[16] = {
    {0, 0, 0, 255},       {128, 0, 0, 255},   {0, 128, 0, 255},   {128, 128, 0, 255},
    {0, 0, 128, 255},     {128, 0, 128, 255}, {0, 128, 128, 255}, {192, 192, 192, 255},
    {128, 128, 128, 255}, {255, 0, 0, 255},   {0, 255, 0, 255},   {255, 255, 0, 255},
    {0, 0, 255, 255},     {255, 0, 255, 255}, {0, 255, 255, 255}, {255, 255, 255, 255},
};

const Rgba kClear = {0, 0, 0, 0};
const Rgba kFrame = {64, 64, 64, 255};
const Rgba kCase = {192, 192, 192, 255};
const Rgba kScreen = {0, 0, 128, 255};
const Rgba kText = {255, 255, 255, 255};
const Rgba kAccent = {0, 255, 255, 255};

// The picture on a size x size grid, drawn in units of size / 16.
Rgba pixel(int x, int y, int size) {
  int u = size / 16;
  int gx = x / u, gy = y / u;
  // Stand: a foot under the monitor.
  if (gy == 14 && gx >= 6 && gx <= 9) return kFrame;
  if (gy == 15 && gx >= 4 && gx <= 11) return kFrame;
  if (gy > 13 || gx > 15) return kClear;
  // Monitor case with a dark outline.
  bool outline = (gy == 0 || gy == 13 || gx == 0 || gx == 15);
  if (outline) return kFrame;
  if (gy < 2 || gy > 11 || gx < 2 || gx > 13) return kCase;
  // Screen: lines of a report, the first one highlighted.
  if (gy == 3 && gx >= 3 && gx <= 9) return kAccent;
  if ((gy == 5 || gy == 7 || gy == 9) && gx >= 3 && gx <= 3 + (gy % 4 == 1 ? 9 : 7)) {
    // Fine detail at 32x32: gaps between the "words".
    if (u > 1 && (x % (4 * u)) == 0) return kScreen;
    return kText;
  }
  return kScreen;
}

int nearest_palette_index(Rgba c) {
  int best = 0;
  long best_distance = -1;
  for (int i = 0; i < 16; ++i) {
    long dr = c.r - kPalette[i].r, dg = c.g - kPalette[i].g, db = c.b - kPalette[i].b;
    long distance = dr * dr + dg * dg + db * db;
    if (best_distance < 0 || distance < best_distance) best = i, best_distance = distance;
  }
  return best;
}

void put16(std::vector<uint8_t> &out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}

void put32(std::vector<uint8_t> &out, unsigned v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

int row_bytes(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

// The picture's own colours, for the 256-colour images: clear first.
const Rgba kOwnColours[] = {kClear, kFrame, kCase, kScreen, kText, kAccent};
const int kOwnColourCount = sizeof kOwnColours / sizeof *kOwnColours;

int own_colour_index(Rgba c) {
  for (int i = 1; i < kOwnColourCount; ++i)
    if (c.a && c.r == kOwnColours[i].r && c.g == kOwnColours[i].g && c.b == kOwnColours[i].b) return i;
  return 0;
}

// One image: BITMAPINFOHEADER, palette, XOR bitmap and AND mask, rows
// bottom-up, each padded to 4 bytes. 4 bits: the standard palette; 8 bits:
// the picture's own colours.
std::vector<uint8_t> image(int size, int bits) {
  std::vector<uint8_t> out;
  int xor_row = row_bytes(size, bits), and_row = row_bytes(size, 1);
  const Rgba *palette = bits == 4 ? kPalette : kOwnColours;
  int colours = bits == 4 ? 16 : kOwnColourCount;
  put32(out, 40);
  put32(out, size);
  put32(out, size * 2);
  put16(out, 1);
  put16(out, bits);
  put32(out, 0);
  put32(out, (xor_row + and_row) * size);
  put32(out, 0);
  put32(out, 0);
  put32(out, colours);
  put32(out, 0);
  for (int i = 0; i < colours; ++i) {
    out.push_back(palette[i].b);
    out.push_back(palette[i].g);
    out.push_back(palette[i].r);
    out.push_back(0);
  }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<uint8_t> row(xor_row, 0);
    for (int x = 0; x < size; ++x) {
      Rgba c = pixel(x, y, size);
      if (bits == 4) {
        int index = c.a ? nearest_palette_index(c) : 0;
        row[x / 2] |= static_cast<uint8_t>(x % 2 ? index : index << 4);
      } else {
        row[x] = static_cast<uint8_t>(own_colour_index(c));
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<uint8_t> row(and_row, 0);
    for (int x = 0; x < size; ++x)
      if (pixel(x, y, size).a == 0) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: make_icon OUTPUT.ico\n");
    return 2;
  }
  const struct { int size, bits; } formats[4] = {{16, 4}, {32, 4}, {16, 8}, {32, 8}};

  std::vector<std::vector<uint8_t>> images;
  for (const auto &f : formats) images.push_back(image(f.size, f.bits));

  std::vector<uint8_t> out;
  put16(out, 0);
  put16(out, 1);  // icon
  put16(out, 4);
  unsigned offset = 6 + 16 * 4;
  for (int i = 0; i < 4; ++i) {
    out.push_back(static_cast<uint8_t>(formats[i].size));
    out.push_back(static_cast<uint8_t>(formats[i].size));
    out.push_back(formats[i].bits == 4 ? 16 : 0);
    out.push_back(0);
    put16(out, 1);
    put16(out, formats[i].bits);
    put32(out, static_cast<unsigned>(images[i].size()));
    put32(out, offset);
    offset += static_cast<unsigned>(images[i].size());
  }
  for (const auto &img : images) out.insert(out.end(), img.begin(), img.end());

  FILE *file = fopen(argv[1], "wb");
  if (!file || fwrite(out.data(), 1, out.size(), file) != out.size() || fclose(file) != 0) {
    fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
