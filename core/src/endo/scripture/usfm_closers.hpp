// Where the closing markers "\name*" and "\+name*" of a USFM text stand.
// Character styles and notes run to the first closer of their name after
// them; with every closer indexed once per text, each such search is a
// binary search instead of a scan of the rest of the text, so a text full of
// markers whose closers are missing stays linear.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ilvex {

// The ASCII letters and digits that make a USFM marker name.
bool is_usfm_name_byte(char c);

// The length of the run of name bytes at `from` in `text`.
std::size_t usfm_name_length(std::string_view text, std::size_t from);

class UsfmCloserIndex {
public:
    static constexpr std::size_t npos = std::string_view::npos;

    // Indexes every backslash of `text` followed by an optional "+", a name
    // (possibly empty) and "*". `text` must outlive the index.
    explicit UsfmCloserIndex(std::string_view text);

    // The position of the first "\" + `key` + "*" that starts at or after
    // `from` and ends at or before `end`, or npos. `key` is the name, with a
    // leading "+" for the closer of a nested marker.
    std::size_t find(std::string_view key, std::size_t from, std::size_t end) const;

private:
    struct Closer {
        std::string_view key;  // a view of the text
        std::size_t at;        // the position of its backslash
    };
    std::vector<Closer> closers_;  // by key, then by position
};

}  // namespace ilvex
