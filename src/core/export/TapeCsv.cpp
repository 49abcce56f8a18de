#include "export/TapeCsv.h"

#include "engine/BusinessRules.h"
#include "engine/NoteLines.h"
#include "engine/NumberRules.h"
#include "engine/Tape.h"
#include "engine/TapeRecompute.h"
#include "guide/CodePageDecoder.h"

namespace qb {
namespace {

constexpr const char* kCrLf = "\r\n";

std::string_view Trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

bool IsTapeOperation(char c) { return std::string_view("+-*/%=").find(c) != std::string_view::npos; }

// ".5" reads as 0.5 everywhere, but "0.5" reads so to a person too.
void AddLeadingZero(std::string& number) {
    if (number.compare(0, 1, ".") == 0) number.insert(0, 1, '0');
    if (number.compare(0, 2, "-.") == 0) number.insert(1, 1, '0');
}

// A subtotal as a plain decimal: a point, no separators, no exponent, 15 significant digits.
std::string PlainSubtotal(double value) {
    std::string text = NumberToPlainText(value);  // 0 (and -0) give "0"
    AddLeadingZero(text);
    return text;
}

// A plain decimal with the style's decimal sign.
std::string WithDecimalSign(std::string number, const CsvStyle& style) {
    const std::size_t point = number.find('.');
    if (point != std::string::npos && style.decimal != ".") number.replace(point, 1, style.decimal);
    return number;
}

}  // namespace

CsvStyle CsvStyle::ForLocale(std::string decimalSign) {
    CsvStyle style;
    if (decimalSign.empty()) return style;
    style.separator = decimalSign == "," ? ';' : ',';
    style.decimal = std::move(decimalSign);
    return style;
}

CsvLineFields CsvFieldsOfLine(std::string_view line, std::string_view previous, bool first) {
    using Kind = TapeLineReading::Kind;
    CsvLineFields fields;
    const TapeLineReading reading = ReadTapeLine(line, previous, first);
    const std::string_view content = Trim(Tape::WithoutCount(line));
    // A grand total and an item count show a number too, with their mark as the operation.
    const bool marked = reading.kind == Kind::Other && content.size() > 2 && content[content.size() - 2] == ' ' &&
                        (content.back() == Tape::kGrandTotalMark || content.back() == Tape::kCountMark) &&
                        (content.front() == '*' || IsTapeNumberText(Trim(content.substr(0, content.size() - 2))));
    if (reading.kind == Kind::Overflow || (marked && content.front() == '*')) {
        // Only the number's last digits are left; the operation column still stands.
        if (content.size() > 1 && content[content.size() - 2] == ' ' &&
            (IsTapeOperation(content.back()) || IsBusinessMark(content.back()) || marked))
            fields.operation = content.back();
        return fields;
    }
    if (reading.kind == Kind::Other && !marked) return fields;
    fields.operation = content.back();
    std::string_view number = content.substr(0, content.size() - 2);
    // A tax line's rate at its left is in the text, not in the number.
    if (content.back() == kTaxMark && number.find("% ") != std::string_view::npos) number.remove_prefix(number.find("% ") + 2);
    while (!number.empty() && number.front() == ' ') number.remove_prefix(1);
    for (const char c : number)
        if (c != ',') fields.number += c;
    // "10." (the floating-point mode's whole number) is 10; ".5" is 0.5; "." (its zero) is 0.
    if (fields.number.back() == '.') fields.number.pop_back();
    if (fields.number.empty() || fields.number == "-") fields.number = "0";
    AddLeadingZero(fields.number);
    return fields;
}

std::string_view CsvLineKind(std::string_view line, std::string_view previous, bool first) {
    using Kind = TapeLineReading::Kind;
    switch (ReadTapeLine(line, previous, first).kind) {
    case Kind::Number: return "number";
    case Kind::Total: return "total";
    case Kind::Clear: return "clear";
    case Kind::Overflow: return "overflow";
    case Kind::Adjusted: return "adjusted";
    case Kind::Other: break;
    }
    if (Trim(line).empty()) return "blank";
    switch (line.back()) {
    case Tape::kNoteMark: return "note";
    case Tape::kReferenceMark: return "reference";
    case Tape::kCountMark: return "count";
    case Tape::kGrandTotalMark: return "grand total";
    default: return "text";
    }
}

std::string CsvField(std::string_view text, char separator) {
    const char special[] = {separator, '"', '\r', '\n', 0};
    const bool quoted = text.find_first_of(special) != std::string_view::npos ||
                        (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quoted) return std::string(text);
    std::string field = "\"";
    for (const char c : text) {
        if (c == '"') field += '"';
        field += c;
    }
    field += '"';
    return field;
}

std::string TapeCsv(const TapeLines& lines, const std::vector<std::optional<double>>& subtotals,
                    const CsvStyle& style) {
    const char s = style.separator;
    std::string csv = std::string("line") + s + "text" + s + "number" + s + "operation" + s + "subtotal" + s + "kind" + kCrLf;
    csv.reserve(lines.size() * 48 + csv.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const CsvLineFields fields = CsvFieldsOfLine(line, i > 0 ? lines[i - 1] : "", i == 0);
        csv += std::to_string(i + 1);
        csv += s;
        csv += CsvField(Windows1252ToUtf8(ShownLine(line)), s);
        csv += s;
        csv += WithDecimalSign(fields.number, style);
        csv += s;
        if (fields.operation) csv += fields.operation;
        csv += s;
        if (i < subtotals.size() && subtotals[i]) csv += WithDecimalSign(PlainSubtotal(*subtotals[i]), style);
        csv += s;
        csv += CsvLineKind(line, i > 0 ? lines[i - 1] : "", i == 0);
        csv += kCrLf;
    }
    return csv;
}

}  // namespace qb
