#include "exhibit/zip_writer.h"

#include <zlib.h>

#include <cstdint>

namespace {

void Put16(std::string& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// Raw deflate, as zip entries hold it (no zlib header).
std::string Deflate(std::string_view data) {
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

constexpr uint32_t kDosDate = (0 << 9) | (1 << 5) | 1;  // 1 January 1980, the earliest

}  // namespace

void ZipWriter::Add(std::string_view name, std::string_view data) {
    const std::string packed = Deflate(data);
    const auto crc = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    const auto offset = static_cast<uint32_t>(archive_.size());
    // The fields a local header and its directory entry share, from the version needed on.
    std::string common;
    Put16(common, 20);      // version needed: deflate
    Put16(common, 0x0800);  // names in UTF-8
    Put16(common, 8);       // deflated
    Put16(common, 0);       // time
    Put16(common, kDosDate);
    Put32(common, crc);
    Put32(common, static_cast<uint32_t>(packed.size()));
    Put32(common, static_cast<uint32_t>(data.size()));
    Put16(common, static_cast<uint32_t>(name.size()));
    Put16(common, 0);  // extra field

    Put32(archive_, 0x04034B50);
    archive_ += common;
    archive_ += name;
    archive_ += packed;

    Put32(directory_, 0x02014B50);
    Put16(directory_, 20);  // made by
    directory_ += common;
    Put16(directory_, 0);  // comment
    Put16(directory_, 0);  // disk
    Put16(directory_, 0);  // internal attributes
    Put32(directory_, 0);  // external attributes
    Put32(directory_, offset);
    directory_ += name;
    ++entries_;
}

std::string ZipWriter::Finish() {
    const auto start = static_cast<uint32_t>(archive_.size());
    archive_ += directory_;
    Put32(archive_, 0x06054B50);
    Put16(archive_, 0);
    Put16(archive_, 0);
    Put16(archive_, entries_);
    Put16(archive_, entries_);
    Put32(archive_, static_cast<uint32_t>(directory_.size()));
    Put32(archive_, start);
    Put16(archive_, 0);
    return std::move(archive_);
}
