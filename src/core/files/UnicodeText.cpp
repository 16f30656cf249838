#include "files/UnicodeText.h"

#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace mirelo {

namespace {

bool toUtf16(std::string_view text, std::u16string& out)
{
    out.clear();
    if (isAscii(text)) {
        out.assign(text.begin(), text.end());
        return true;
    }
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    out.resize(text.size());
    u_strFromUTF8WithSub(out.data(), int32_t(out.size()), &length, text.data(), int32_t(text.size()), 0xFFFD, nullptr,
                         &status);
    out.resize(size_t(length));
    return U_SUCCESS(status);
}

bool toUtf16Strict(std::string_view text, std::u16string& out)
{
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    out.resize(text.size());
    u_strFromUTF8(out.data(), int32_t(out.size()), &length, text.data(), int32_t(text.size()), &status);
    if (U_FAILURE(status)) return false;
    out.resize(size_t(length));
    return true;
}

std::string toUtf8(const std::u16string& text)
{
    std::string out(text.size() * 3, '\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strToUTF8(out.data(), int32_t(out.size()), &length, text.data(), int32_t(text.size()), &status);
    out.resize(U_SUCCESS(status) ? size_t(length) : 0);
    return out;
}

const UNormalizer2* normalizer(bool decompose)
{
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* n = decompose ? unorm2_getNFDInstance(&status) : unorm2_getNFCInstance(&status);
    if (U_FAILURE(status)) throw std::runtime_error("ICU normalizer unavailable");
    return n;
}

std::u16string normalize(const UNormalizer2* n, const std::u16string& text)
{
    std::u16string out(text.size() * 3 + 4, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = unorm2_normalize(n, text.data(), int32_t(text.size()), out.data(), int32_t(out.size()), &status);
    if (U_FAILURE(status)) return text;
    out.resize(size_t(length));
    return out;
}

// Decomposes, drops the combining marks and folds case: "Café" -> "cafe".
std::u16string searchFolded(std::string_view text)
{
    std::u16string utf16;
    toUtf16(text, utf16);
    std::u16string decomposed = normalize(normalizer(true), utf16);
    std::u16string stripped;
    stripped.reserve(decomposed.size());
    for (size_t i = 0; i < decomposed.size();) {
        UChar32 c;
        size_t start = i;
        U16_NEXT(decomposed.data(), i, decomposed.size(), c);
        if (u_charType(c) == U_NON_SPACING_MARK) continue;
        stripped.append(decomposed, start, i - start);
    }
    std::u16string folded(stripped.size() * 3 + 4, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = u_strFoldCase(folded.data(), int32_t(folded.size()), stripped.data(), int32_t(stripped.size()),
                                   U_FOLD_CASE_DEFAULT, &status);
    if (U_FAILURE(status)) return stripped;
    folded.resize(size_t(length));
    return folded;
}

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

struct CollatorCloser {
    void operator()(UCollator* c) const { ucol_close(c); }
};

// One collator per thread: collators are cheap to keep and not shared.
UCollator* nameCollator()
{
    thread_local std::unique_ptr<UCollator, CollatorCloser> collator = [] {
        // Without a configured locale ICU reports en_US_POSIX, whose
        // collation is code-point order: use the root order instead.
        std::string locale = uloc_getDefault();
        if (locale.find("POSIX") != std::string::npos || locale == "c" || locale.empty()) locale = "";
        UErrorCode status = U_ZERO_ERROR;
        UCollator* c = ucol_open(locale.c_str(), &status);
        if (U_FAILURE(status)) {
            status = U_ZERO_ERROR;
            c = ucol_open("", &status);
        }
        if (U_FAILURE(status)) throw std::runtime_error("ICU collator unavailable");
        ucol_setStrength(c, UCOL_PRIMARY);
        ucol_setAttribute(c, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
        ucol_setAttribute(c, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
        return std::unique_ptr<UCollator, CollatorCloser>(c);
    }();
    return collator.get();
}

} // namespace

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string nfc(std::string_view text)
{
    if (isAscii(text)) return std::string(text);
    std::u16string utf16;
    if (!toUtf16Strict(text, utf16)) return std::string(text);
    return toUtf8(normalize(normalizer(false), utf16));
}

bool isNfc(std::string_view text)
{
    if (isAscii(text)) return true;
    std::u16string utf16;
    if (!toUtf16Strict(text, utf16)) return true; // raw bytes: compared as they are
    UErrorCode status = U_ZERO_ERROR;
    UBool normalized = unorm2_isNormalized(normalizer(false), utf16.data(), int32_t(utf16.size()), &status);
    return U_FAILURE(status) || normalized;
}

std::string upperCased(std::string_view text)
{
    if (isAscii(text)) {
        std::string out(text);
        for (char& c : out)
            if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        return out;
    }
    std::u16string utf16;
    toUtf16(text, utf16);
    std::u16string upper(utf16.size() * 3 + 4, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length =
        u_strToUpper(upper.data(), int32_t(upper.size()), utf16.data(), int32_t(utf16.size()), "", &status);
    if (U_FAILURE(status)) return std::string(text);
    upper.resize(size_t(length));
    return toUtf8(upper);
}

int compareNames(std::string_view a, std::string_view b)
{
    UErrorCode status = U_ZERO_ERROR;
    UCollationResult r =
        ucol_strcollUTF8(nameCollator(), a.data(), int32_t(a.size()), b.data(), int32_t(b.size()), &status);
    if (U_FAILURE(status)) return a.compare(b);
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

void appendNameSortKey(std::string& out, std::string_view name)
{
    thread_local std::u16string utf16;
    toUtf16(name, utf16);
    size_t start = out.size();
    size_t room = utf16.size() * 4 + 16;
    for (;;) {
        out.resize(start + room);
        int32_t length = ucol_getSortKey(nameCollator(), utf16.data(), int32_t(utf16.size()),
                                         reinterpret_cast<uint8_t*>(out.data() + start), int32_t(room));
        if (size_t(length) <= room) {
            // Drop the terminating zero byte; keys stay prefix-free without it.
            out.resize(start + size_t(length > 0 ? length - 1 : 0));
            return;
        }
        room = size_t(length);
    }
}

NameSearch::NameSearch(std::string_view needle)
{
    empty_ = needle.empty();
    if (empty_) return;
    folded_ = searchFolded(needle);
    asciiNeedle_ = std::all_of(folded_.begin(), folded_.end(), [](char16_t c) { return c < 0x80; });
    if (asciiNeedle_) asciiFolded_.assign(folded_.begin(), folded_.end());
}

bool NameSearch::matches(std::string_view name) const
{
    if (empty_) return true;
    if (isAscii(name)) {
        if (!asciiNeedle_) return false; // an ASCII name folds to ASCII only
        if (asciiFolded_.size() > name.size()) return false;
        auto it = std::search(name.begin(), name.end(), asciiFolded_.begin(), asciiFolded_.end(),
                              [](char a, char b) { return asciiLower(a) == b; });
        return it != name.end() || asciiFolded_.empty();
    }
    return searchFolded(name).find(folded_) != std::u16string::npos;
}

} // namespace mirelo
