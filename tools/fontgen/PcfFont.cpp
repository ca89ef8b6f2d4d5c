#include "tools/fontgen/PcfFont.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>

namespace {

constexpr uint32_t PcfAccelerators = 1 << 1;
constexpr uint32_t PcfMetrics = 1 << 2;
constexpr uint32_t PcfBitmaps = 1 << 3;
constexpr uint32_t PcfEncodings = 1 << 5;
constexpr uint32_t PcfBdfAccelerators = 1 << 8;

constexpr uint32_t CompressedMetrics = 0x100;
constexpr uint32_t ByteMsbFirst = 1 << 2;
constexpr uint32_t BitMsbFirst = 1 << 3;

[[noreturn]] void Malformed(const char* what) { throw std::runtime_error(std::string("malformed font: ") + what); }

// A cursor over one table; integers in the table's byte order.
class TReader {
public:
    TReader(const std::vector<uint8_t>& bytes, size_t offset) : FBytes(bytes), FPos(offset) {}

    void SetBigEndian(bool big) { FBig = big; }
    size_t Pos() const { return FPos; }
    void Seek(size_t pos) { FPos = pos; }

    uint8_t U8()
    {
        Need(1);
        return FBytes[FPos++];
    }
    int32_t I32()
    {
        Need(4);
        const uint8_t* p = &FBytes[FPos];
        FPos += 4;
        const uint32_t v = FBig ? (uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3])
                                : (uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]);
        return static_cast<int32_t>(v);
    }
    int16_t I16()
    {
        Need(2);
        const uint8_t* p = &FBytes[FPos];
        FPos += 2;
        return static_cast<int16_t>(FBig ? (p[0] << 8 | p[1]) : (p[1] << 8 | p[0]));
    }
    // The format word that opens every table is always little-endian.
    uint32_t Format()
    {
        FBig = false;
        const uint32_t f = static_cast<uint32_t>(I32());
        FBig = (f & ByteMsbFirst) != 0;
        return f;
    }

private:
    void Need(size_t n) const
    {
        if (FPos > FBytes.size() || FBytes.size() - FPos < n)
            Malformed("table runs past the end of the file");
    }
    const std::vector<uint8_t>& FBytes;
    size_t FPos;
    bool FBig = false;
};

std::vector<uint8_t> ReadGzip(const std::string& fileName)
{
    gzFile f = gzopen(fileName.c_str(), "rb");
    if (!f)
        throw std::runtime_error("cannot read " + fileName);
    std::vector<uint8_t> bytes;
    uint8_t buf[65536];
    int n;
    while ((n = gzread(f, buf, sizeof buf)) > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    const bool failed = n < 0;
    gzclose(f);
    if (failed)
        throw std::runtime_error("cannot read " + fileName);
    return bytes;
}

uint8_t ReverseBits(uint8_t b)
{
    b = static_cast<uint8_t>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
    b = static_cast<uint8_t>((b & 0xCC) >> 2 | (b & 0x33) << 2);
    return static_cast<uint8_t>((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

}  // namespace

TPcfFont::TPcfFont(const std::string& fileName) : FBytes(ReadGzip(fileName)) { Parse(); }

TPcfFont::TPcfFont(std::vector<uint8_t> bytes) : FBytes(std::move(bytes)) { Parse(); }

void TPcfFont::Parse()
{
    if (FBytes.size() < 8 || FBytes[0] != 1 || FBytes[1] != 'f' || FBytes[2] != 'c' || FBytes[3] != 'p')
        Malformed("not a PCF file");
    TReader toc(FBytes, 4);
    const int32_t tables = toc.I32();
    if (tables < 0 || tables > 64)
        Malformed("table count");
    size_t accel = 0, bdfAccel = 0, metrics = 0, bitmaps = 0, encodings = 0;
    for (int32_t i = 0; i < tables; ++i) {
        const uint32_t type = static_cast<uint32_t>(toc.I32());
        toc.I32();  // format, repeated in the table itself
        toc.I32();  // size
        const int32_t offset = toc.I32();
        if (offset < 0 || static_cast<size_t>(offset) >= FBytes.size())
            Malformed("table offset");
        const size_t at = static_cast<size_t>(offset);
        if (type == PcfAccelerators)
            accel = at;
        if (type == PcfBdfAccelerators)
            bdfAccel = at;
        if (type == PcfMetrics)
            metrics = at;
        if (type == PcfBitmaps)
            bitmaps = at;
        if (type == PcfEncodings)
            encodings = at;
    }
    if (!(accel || bdfAccel) || !metrics || !bitmaps || !encodings)
        Malformed("missing table");

    TReader a(FBytes, bdfAccel ? bdfAccel : accel);
    a.Format();
    for (int i = 0; i < 8; ++i)
        a.U8();
    FAscent = a.I32();
    FDescent = a.I32();

    TReader m(FBytes, metrics);
    const uint32_t mf = m.Format();
    const int count = (mf & CompressedMetrics) ? m.I16() : m.I32();
    if (count < 0)
        Malformed("glyph count");
    for (int i = 0; i < count; ++i) {
        TMetrics g{};
        if (mf & CompressedMetrics) {
            g.Left = m.U8() - 0x80;
            g.Right = m.U8() - 0x80;
            g.Width = m.U8() - 0x80;
            g.Ascent = m.U8() - 0x80;
            g.Descent = m.U8() - 0x80;
        } else {
            g.Left = m.I16();
            g.Right = m.I16();
            g.Width = m.I16();
            g.Ascent = m.I16();
            g.Descent = m.I16();
            m.I16();  // attributes
        }
        FMetrics.push_back(g);
    }

    TReader b(FBytes, bitmaps);
    const uint32_t bf = b.Format();
    const int32_t glyphs = b.I32();
    if (glyphs != count)
        Malformed("bitmap count differs from metrics count");
    std::vector<int32_t> offsets(static_cast<size_t>(glyphs));
    for (auto& o : offsets)
        o = b.I32();
    int32_t sizes[4];
    for (auto& s : sizes)
        s = b.I32();
    const size_t data = b.Pos();
    const int pad = 1 << (bf & 3);
    const int unit = 1 << (bf >> 4 & 3);
    const bool msbBits = (bf & BitMsbFirst) != 0;
    const bool msbBytes = (bf & ByteMsbFirst) != 0;
    if (sizes[bf & 3] < 0 || FBytes.size() - data < static_cast<size_t>(sizes[bf & 3]))
        Malformed("bitmap data");
    for (int i = 0; i < glyphs; ++i) {
        const TMetrics& g = FMetrics[static_cast<size_t>(i)];
        const int width = std::max(0, g.Right - g.Left);
        const int rows = std::max(0, g.Ascent + g.Descent);
        const int rowBytes = (width + 7) / 8;
        const int stride = (rowBytes + pad - 1) / pad * pad;
        std::vector<uint8_t> bitmap(static_cast<size_t>(rowBytes * rows));
        const int64_t start = offsets[static_cast<size_t>(i)];
        if (start < 0 || start + int64_t(stride) * rows > sizes[bf & 3])
            Malformed("glyph bitmap");
        for (int r = 0; r < rows; ++r) {
            std::vector<uint8_t> row(&FBytes[data + static_cast<size_t>(start + int64_t(stride) * r)],
                                     &FBytes[data + static_cast<size_t>(start + int64_t(stride) * r)] + stride);
            if (!msbBits)
                for (auto& byte : row)
                    byte = ReverseBits(byte);
            if (msbBits != msbBytes && unit > 1)
                for (int k = 0; k + unit <= stride; k += unit)
                    std::reverse(row.begin() + k, row.begin() + k + unit);
            std::copy(row.begin(), row.begin() + rowBytes, bitmap.begin() + r * rowBytes);
        }
        FBitmaps.push_back(std::move(bitmap));
        FRowBytes.push_back(rowBytes);
    }

    TReader e(FBytes, encodings);
    e.Format();
    FMinByte2 = e.I16();
    FMaxByte2 = e.I16();
    FMinByte1 = e.I16();
    FMaxByte1 = e.I16();
    e.I16();  // default character
    if (FMaxByte2 < FMinByte2 || FMaxByte1 < FMinByte1)
        Malformed("encoding range");
    const size_t cells =
        static_cast<size_t>(FMaxByte2 - FMinByte2 + 1) * static_cast<size_t>(FMaxByte1 - FMinByte1 + 1);
    FEncoding.resize(cells);
    for (auto& c : FEncoding)
        c = static_cast<uint16_t>(e.I16());
}

std::optional<TGlyph16> TPcfFont::Glyph(uint16_t encoding) const
{
    const int b1 = encoding >> 8, b2 = encoding & 0xFF;
    if (b1 < FMinByte1 || b1 > FMaxByte1 || b2 < FMinByte2 || b2 > FMaxByte2)
        return std::nullopt;
    const uint16_t index =
        FEncoding[static_cast<size_t>((b1 - FMinByte1) * (FMaxByte2 - FMinByte2 + 1) + (b2 - FMinByte2))];
    if (index == 0xFFFF || index >= FMetrics.size())
        return std::nullopt;
    const TMetrics& g = FMetrics[index];
    const std::vector<uint8_t>& bits = FBitmaps[index];
    const int rowBytes = FRowBytes[index];
    TGlyph16 out;
    const int rows = g.Ascent + g.Descent;
    for (int r = 0; r < rows; ++r) {
        const int y = FAscent - g.Ascent + r;
        if (y < 0 || y > 15)
            continue;
        for (int c = 0; c < g.Right - g.Left; ++c) {
            const int x = g.Left + c;
            if (x < 0 || x > 15)
                continue;
            if (bits[static_cast<size_t>(r * rowBytes + c / 8)] & (0x80 >> (c % 8)))
                out.Rows[static_cast<size_t>(y)] |= static_cast<uint16_t>(0x8000 >> x);
        }
    }
    return out;
}
