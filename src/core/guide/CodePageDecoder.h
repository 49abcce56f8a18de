#pragma once
// Turns bytes of text in a Windows (or old Mac and DOS) code page into Unicode, one byte at a
// time, as the RTF reader meets them. Double-byte code pages (932, 936, 949, 950) wait for the
// trail byte after a lead byte. Windows-1252 is built in; every other code page goes through
// the C library's iconv, one converter per code page, opened on first use and kept until the
// decoder goes. A code page the C library does not have reads as Windows-1252; bytes it
// rejects become U+FFFD. Never fails.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

class CodePageDecoder {
public:
    static constexpr int kWindows1252 = 1252;

    // The characters one byte completes: none while a character of several bytes is
    // incomplete, two when a waiting lead byte turns out not to start a character.
    struct Decoded {
        std::array<char32_t, 2> chars{};
        int count = 0;
        void Add(char32_t c) { chars[static_cast<std::size_t>(count++)] = c; }
    };

    CodePageDecoder();
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    Decoded Byte(int codePage, unsigned char byte);
    // Ends a character cut short: U+FFFD when a lead byte was waiting, else nothing.
    Decoded Flush();
    bool Waiting() const { return pendingLength_ > 0; }
    // The code page of the waiting lead byte; only while Waiting().
    int WaitingCodePage() const;
    // Whether the byte begins a character of several bytes in the code page.
    bool IsLeadByte(int codePage, unsigned char byte);

    // The code page Windows uses for an RTF font's \fcharset; 0 for the symbol character set,
    // -1 for "the document's own" (1, DEFAULT_CHARSET) and for character sets it does not know.
    static int CodePageOfCharset(int charset);

private:
    struct Page;
    Page& PageFor(int codePage);
    char32_t Convert(Page& page, const unsigned char* bytes, std::size_t length, bool& incomplete);

    std::vector<std::unique_ptr<Page>> pages_;
    std::array<unsigned char, 4> pending_{};
    std::size_t pendingLength_ = 0;
    Page* pendingPage_ = nullptr;
};

// One character in UTF-8 at the end of out.
void AppendUtf8(std::string& out, char32_t cp);
// A text the core keeps in Windows-1252 (a caption, a tape line), as messages take it: UTF-8.
std::string Windows1252ToUtf8(std::string_view text);
// UTF-8 typed by the user (a note) in Windows-1252, as the core keeps it. refused is the first
// character the code page lacks (or a control character, or a broken byte), empty when none.
struct Windows1252Text {
    std::string text;
    std::string refused;
};
Windows1252Text Utf8ToWindows1252(std::string_view utf8);

}  // namespace qb
