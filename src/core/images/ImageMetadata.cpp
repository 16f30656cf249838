#include "images/ImageMetadata.h"
#include "images/GLibTypes.h"

#include "files/RegularFile.h"
#include "images/ImageModule.h"

#include <cstdint>
#include <string_view>

namespace mirelo {

namespace {

uint32_t big32(const unsigned char* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

} // namespace

std::string ImageMetadata::profileName(const unsigned char* profile, size_t length)
{
    if (!profile || length < 132) return {};
    const uint32_t tags = big32(profile + 128);
    for (uint32_t i = 0; i < tags && 132 + size_t(i + 1) * 12 <= length; ++i) {
        const unsigned char* entry = profile + 132 + i * 12;
        if (std::string_view(reinterpret_cast<const char*>(entry), 4) != "desc") continue;
        const size_t offset = big32(entry + 4), size = big32(entry + 8);
        if (offset + size > length || size < 12) return {};
        const unsigned char* tag = profile + offset;
        const std::string_view type(reinterpret_cast<const char*>(tag), 4);
        if (type == "desc") { // ICC 2: a counted ASCII string
            const size_t count = big32(tag + 8);
            if (12 + count > size || count == 0) return {};
            std::string text(reinterpret_cast<const char*>(tag + 12), count);
            return text.substr(0, text.find('\0'));
        }
        if (type == "mluc" && size >= 28) { // ICC 4: the first UTF-16BE record
            const size_t recordLength = big32(tag + 20), recordOffset = big32(tag + 24);
            if (recordOffset + recordLength > size) return {};
            std::u16string text;
            for (size_t at = recordOffset; at + 1 < recordOffset + recordLength; at += 2)
                text.push_back(char16_t(tag[at] << 8 | tag[at + 1]));
            std::string utf8;
            for (char16_t unit : text) { // the names are ASCII in practice; keep the rest readable
                if (unit < 0x80)
                    utf8 += char(unit);
                else if (unit < 0x800)
                    utf8 += {char(0xC0 | unit >> 6), char(0x80 | (unit & 0x3F))};
                else
                    utf8 += {char(0xE0 | unit >> 12), char(0x80 | (unit >> 6 & 0x3F)), char(0x80 | (unit & 0x3F))};
            }
            return utf8;
        }
        return {};
    }
    return {};
}

MetadataList ImageMetadata::read(const std::string& path)
{
    MetadataList list;
    if (!RegularFile::is(path)) return list; // read by its path: a pipe could block
    const SharedGate::Shared types(glibTypes());
    if (const ImageModule& module = ImageModule::get(); module.metadata) module.metadata(path.c_str(), &list);
    return list;
}

} // namespace mirelo
