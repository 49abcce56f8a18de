#include "guide/CodePageDecoder.h"

#include <iconv.h>

#include <cerrno>
#include <optional>
#include <string>

namespace qb {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
// In a page's table: the byte begins a character of several bytes.
constexpr char32_t kLeadByte = 0xFFFFFFFF;
// A document that names more code pages than this is not one a person wrote; the rest read
// as Windows-1252, so that opening converters cannot cost more than a fixed amount.
constexpr std::size_t kMaxPages = 16;

const auto kNoConverter = reinterpret_cast<iconv_t>(-1);

// Windows-1252 from 0x80 to 0x9F; the rest of the code page is Latin-1. The five unused
// bytes map to the control characters of the same number, as Windows does.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The C library's name for a code page, or "" for one that is not a character set of text.
std::string IconvName(int codePage) {
    switch (codePage) {
        case 10000: return "MACINTOSH";
        case 10007: return "MAC-CYRILLIC";
        case 10029: return "MAC-CENTRALEUROPE";
        case 20866: return "KOI8-R";
        case 21866: return "KOI8-U";
        case 1361: return "JOHAB";
        case 54936: return "GB18030";
        case 65001: return "UTF-8";
        case 28603: return "ISO-8859-13";
        case 28605: return "ISO-8859-15";
        default: break;
    }
    if (codePage >= 28591 && codePage <= 28599) return "ISO-8859-" + std::to_string(codePage - 28590);
    if ((codePage >= 1250 && codePage <= 1258) || codePage == 437 || codePage == 737 || codePage == 775 ||
        codePage == 850 || codePage == 852 || codePage == 855 || codePage == 857 ||
        (codePage >= 860 && codePage <= 866) || codePage == 869 || codePage == 874 || codePage == 932 ||
        codePage == 936 || codePage == 949 || codePage == 950)
        return "CP" + std::to_string(codePage);
    return {};
}

}  // namespace

struct CodePageDecoder::Page {
    int codePage = 0;
    iconv_t converter = kNoConverter;  // none: Windows-1252, built in
    std::array<char32_t, 128> high{};  // bytes 0x80 to 0xFF on their own

    ~Page() {
        if (converter != kNoConverter) iconv_close(converter);
    }
};

CodePageDecoder::CodePageDecoder() = default;
CodePageDecoder::~CodePageDecoder() = default;

int CodePageDecoder::CodePageOfCharset(int charset) {
    switch (charset) {
        case 0: return 1252;
        case 2: return 0;
        case 77: return 10000;
        case 128: return 932;
        case 129: return 949;
        case 130: return 1361;
        case 134: return 936;
        case 136: return 950;
        case 161: return 1253;
        case 162: return 1254;
        case 163: return 1258;
        case 177: return 1255;
        case 178: return 1256;
        case 186: return 1257;
        case 204: return 1251;
        case 222: return 874;
        case 238: return 1250;
        case 254: return 437;
        case 255: return 850;
        default: return -1;
    }
}

CodePageDecoder::Page& CodePageDecoder::PageFor(int codePage) {
    for (const auto& page : pages_)
        if (page->codePage == codePage) return *page;
    const std::string name = IconvName(codePage);
    if (codePage != kWindows1252 && (name.empty() || pages_.size() >= kMaxPages))
        return PageFor(kWindows1252);

    auto page = std::make_unique<Page>();
    page->codePage = codePage;
    for (std::size_t i = 0; i < 32; ++i) page->high[i] = kWindows1252High[i];
    for (std::size_t i = 32; i < 128; ++i) page->high[i] = static_cast<char32_t>(0x80 + i);
    if (codePage != kWindows1252) {
        page->converter = iconv_open("UTF-32LE", name.c_str());
        if (page->converter != kNoConverter) {
            for (std::size_t i = 0; i < 128; ++i) {
                const auto byte = static_cast<unsigned char>(0x80 + i);
                bool incomplete = false;
                const char32_t c = Convert(*page, &byte, 1, incomplete);
                page->high[i] = incomplete ? kLeadByte : c;
            }
        }
    }
    pages_.push_back(std::move(page));
    return *pages_.back();
}

char32_t CodePageDecoder::Convert(Page& page, const unsigned char* bytes, std::size_t length,
                                  bool& incomplete) {
    incomplete = false;
    std::array<char, 16> out{};
    char* in = reinterpret_cast<char*>(const_cast<unsigned char*>(bytes));
    std::size_t inLeft = length;
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t done = iconv(page.converter, &in, &inLeft, &outPtr, &outLeft);
    const int error = errno;
    if (done == static_cast<std::size_t>(-1)) {
        iconv(page.converter, nullptr, nullptr, nullptr, nullptr);
        incomplete = error == EINVAL;
        return kReplacement;
    }
    // A converter that composes characters (Vietnamese) holds the last one back until told
    // that no more input is coming.
    iconv(page.converter, nullptr, nullptr, &outPtr, &outLeft);
    if (out.size() - outLeft < 4) return kReplacement;
    const auto b = [&](int i) { return static_cast<char32_t>(static_cast<unsigned char>(out[static_cast<std::size_t>(i)])); };
    const char32_t c = b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
    return c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) ? kReplacement : c;
}

CodePageDecoder::Decoded CodePageDecoder::Byte(int codePage, unsigned char byte) {
    Decoded decoded;
    Page& page = PageFor(codePage);
    if (pendingLength_ > 0) {
        if (pendingPage_ == &page && page.converter != kNoConverter) {
            pending_[pendingLength_++] = byte;
            bool incomplete = false;
            const char32_t c = Convert(page, pending_.data(), pendingLength_, incomplete);
            if (incomplete && pendingLength_ < pending_.size()) return decoded;
            pendingLength_ = 0;
            if (!incomplete && c != kReplacement) {
                decoded.Add(c);
                return decoded;
            }
        }
        // The waiting bytes start no character; this byte is read on its own.
        pendingLength_ = 0;
        decoded.Add(kReplacement);
    }
    if (byte < 0x80) {
        decoded.Add(byte);
        return decoded;
    }
    const char32_t c = page.high[byte - 0x80];
    if (c == kLeadByte) {
        pending_[0] = byte;
        pendingLength_ = 1;
        pendingPage_ = &page;
    } else {
        decoded.Add(c);
    }
    return decoded;
}

int CodePageDecoder::WaitingCodePage() const { return pendingPage_ != nullptr ? pendingPage_->codePage : kWindows1252; }

bool CodePageDecoder::IsLeadByte(int codePage, unsigned char byte) {
    return byte >= 0x80 && PageFor(codePage).high[byte - 0x80] == kLeadByte;
}

CodePageDecoder::Decoded CodePageDecoder::Flush() {
    Decoded decoded;
    if (pendingLength_ > 0) decoded.Add(kReplacement);
    pendingLength_ = 0;
    return decoded;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const char32_t cp = byte >= 0x80 && byte < 0xA0 ? char32_t{kWindows1252High[byte - 0x80u]} : char32_t{byte};
        AppendUtf8(out, cp);
    }
    return out;
}

namespace {

// One character of UTF-8 from text at i (moved past it); U+FFFD for a broken sequence.
char32_t NextUtf8(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    int more = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
    if (more < 0) return 0xFFFD;
    char32_t cp = lead & (0x3F >> more);
    for (; more > 0; --more) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    return cp;
}

// The code page's byte for cp, or nothing; control characters have none that a line may hold.
std::optional<unsigned char> Windows1252Byte(char32_t cp) {
    if (cp >= 0x20 && cp < 0x7F) return static_cast<unsigned char>(cp);
    if (cp >= 0xA0 && cp <= 0xFF) return static_cast<unsigned char>(cp);
    if (cp < 0x80 || cp == 0x7F) return std::nullopt;
    for (std::size_t i = 0; i < kWindows1252High.size(); ++i)
        if (kWindows1252High[i] == cp && cp >= 0x100) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

}  // namespace

Windows1252Text Utf8ToWindows1252(std::string_view utf8) {
    Windows1252Text out;
    out.text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = NextUtf8(utf8, i);
        if (const auto byte = Windows1252Byte(cp)) {
            out.text += static_cast<char>(*byte);
            continue;
        }
        AppendUtf8(out.refused, cp);
        return out;
    }
    return out;
}

}  // namespace qb
