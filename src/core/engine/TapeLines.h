#pragma once
// The lines of a tape, kept back to back in one block of text with the end of each line beside
// it: a million lines cost their characters and four bytes each, not a heap string apiece. The
// text of all lines is at most 4 GiB (some two hundred million lines).
//
// Lines are only ever added at the end, one by one; anything else (clearing, adopting, copying,
// assigning, and any change to a line already there) gives the lines a new generation, so a
// reader that keeps a copy of the first lines (the recovery record) learns in one comparison
// whether they still stand. A change to earlier lines must go through a call that renews it.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// A number no other set of lines had: new for every object, every copy and every Renew.
class TapeGeneration {
public:
    TapeGeneration() : value_(Next()) {}
    TapeGeneration(const TapeGeneration&) : value_(Next()) {}
    TapeGeneration& operator=(const TapeGeneration&) {
        value_ = Next();
        return *this;
    }
    void Renew() { value_ = Next(); }
    std::uint64_t Value() const { return value_; }

private:
    static std::uint64_t Next() {
        static std::atomic<std::uint64_t> last{0};
        return ++last;
    }
    std::uint64_t value_;
};

class TapeLines {
public:
    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        const_iterator(const TapeLines* lines, std::size_t index) : lines_(lines), index_(index) {}
        std::string_view operator*() const { return (*lines_)[index_]; }
        const_iterator& operator++() { return ++index_, *this; }
        const_iterator operator++(int) { return const_iterator(lines_, index_++); }
        difference_type operator-(const const_iterator& other) const {
            return static_cast<difference_type>(index_) - static_cast<difference_type>(other.index_);
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }

    private:
        const TapeLines* lines_ = nullptr;
        std::size_t index_ = 0;
    };

    TapeLines() = default;
    TapeLines(std::initializer_list<std::string_view> lines);
    TapeLines(const std::vector<std::string>& lines);  // NOLINT: a list of lines is a tape's lines

    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t index) const {
        const std::uint32_t begin = index == 0 ? 0 : ends_[index - 1];
        return std::string_view(text_.data() + begin, static_cast<std::size_t>(ends_[index] - begin));
    }
    std::string_view front() const { return (*this)[0]; }
    std::string_view back() const { return (*this)[size() - 1]; }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size()); }

    void push_back(std::string_view line) {
        if (line.size() > kMostCharacters - text_.size()) throw std::length_error("a tape holds at most 4 GiB of text");
        text_.append(line);
        ends_.push_back(static_cast<std::uint32_t>(text_.size()));
    }
    static constexpr std::size_t kMostCharacters = 0xFFFFFFFFu;
    // What the lines cost beyond their characters, each.
    static constexpr std::size_t kBytesPerLine = sizeof(std::uint32_t);
    // Room for that many lines of that many characters in all, so reading a file grows nothing.
    void reserve(std::size_t lines, std::size_t characters) {
        ends_.reserve(lines);
        text_.reserve(characters);
    }
    // Takes lines already laid out back to back: text holds them, ends the end of each in it.
    void Adopt(std::string text, std::vector<std::uint32_t> ends) {
        text_ = std::move(text);
        ends_ = std::move(ends);
        generation_.Renew();
    }
    void clear() {
        text_.clear();
        ends_.clear();
        generation_.Renew();
    }
    // Stays while lines are only added at the end.
    std::uint64_t Generation() const { return generation_.Value(); }
    // Keeps the first count lines.
    void truncate(std::size_t count) {
        if (count >= size()) return;
        text_.resize(count == 0 ? 0 : ends_[count - 1]);
        ends_.resize(count);
        generation_.Renew();
    }
    // The lines from first on, as a tape of their own.
    TapeLines Suffix(std::size_t first) const;
    // The characters of every line, without line ends.
    std::size_t characters() const { return text_.size(); }

    std::vector<std::string> ToVector() const;
    bool operator==(const TapeLines& other) const { return ends_ == other.ends_ && text_ == other.text_; }
    bool operator==(const std::vector<std::string>& other) const {
        return other.size() == size() && std::equal(other.begin(), other.end(), begin());
    }

private:
    std::string text_;
    std::vector<std::uint32_t> ends_;
    TapeGeneration generation_;
};

}  // namespace qb
