#include "endo/scripture/usfm_inlines.hpp"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "dialektos/unicode.hpp"
#include "endo/import_errors.hpp"
#include "endo/scripture/scripture_blocks.hpp"

namespace ilvex {
namespace {

constexpr std::array<std::string_view, 11> note_part_markers = {"fr", "ft", "fk", "fq", "fqa", "fl",
                                                                "xo", "xt", "xta", "xk", "xq"};

bool is_note_marker(std::string_view name) { return name == "f" || name == "fe" || name == "x"; }
bool is_word_marker(std::string_view name) {
    return name == "w" || name == "wh" || name == "wg" || name == "wa" || name == "rb";
}
bool is_dropped_marker(std::string_view name) { return name == "va" || name == "ca" || name == "vp"; }
bool is_note_part(std::string_view name) {
    return std::find(note_part_markers.begin(), note_part_markers.end(), name) != note_part_markers.end();
}

void push_text(std::vector<Inline>& out, std::string& buffer) {
    if (buffer.empty()) return;
    out.emplace_back(Inline::Text{std::move(buffer)});
    buffer.clear();
}

void append(std::vector<Inline>& out, std::vector<Inline>&& more) {
    out.insert(out.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

// The first white-space character at or after `from`, or `end`.
std::size_t find_whitespace(std::string_view text, std::size_t from, std::size_t end) {
    std::size_t i = from;
    while (i < end) {
        std::size_t next = i;
        if (unicode::is_whitespace(unicode::next_char(text, next))) return i;
        i = next;
    }
    return end;
}

// The first `c` at or after `from` and before `end`, or npos; the search
// never runs past the piece being read.
std::size_t find_in(std::string_view text, char c, std::size_t from, std::size_t end) {
    const std::size_t at = text.substr(from, end - from).find(c);
    return at == std::string_view::npos ? at : from + at;
}

std::size_t skip_whitespace(std::string_view text, std::size_t from, std::size_t end) {
    return end - unicode::trim_start(text.substr(from, end - from)).size();
}

Error marker_error(std::string_view message, std::string_view name, std::string_view tail = {}) {
    std::string text(message);
    text += '\\';
    text += name;
    text += tail;
    return usfm_import_error(text);
}

}  // namespace

struct UsfmInlineReader::Marker {
    bool nested;
    std::string_view name;
    std::size_t after;  // the position after the name
};

UsfmInlineReader::Span UsfmInlineReader::trimmed(Span span) const {
    const std::string_view kept = unicode::trim(text_.substr(span.begin, span.end - span.begin));
    const auto begin = static_cast<std::size_t>(kept.data() - text_.data());
    return {begin, begin + kept.size()};
}

UsfmInlineReader::Marker UsfmInlineReader::read_marker(std::size_t at, std::size_t end) const {
    std::size_t p = at + 1;
    const bool nested = p < end && text_[p] == '+';
    if (nested) ++p;
    const std::size_t length = std::min(usfm_name_length(text_, p), end - p);
    return {nested, text_.substr(p, length), p + length};
}

std::size_t UsfmInlineReader::find_closer(const Marker& marker, std::size_t from, std::size_t end,
                                          std::size_t& closer_size) {
    if (!closers_) closers_.emplace(text_);
    if (marker.nested) {
        // The nested key "+name" is the marker's own text after the backslash.
        const std::string_view key(marker.name.data() - 1, marker.name.size() + 1);
        if (const std::size_t at = closers_->find(key, from, end); at != UsfmCloserIndex::npos) {
            closer_size = key.size() + 2;
            return at;
        }
    }
    closer_size = marker.name.size() + 2;
    return closers_->find(marker.name, from, end);
}

Result<std::vector<Inline>> UsfmInlineReader::nested_inlines(Span span) {
    Result<NestingDepth::Level> level = context_.enter();
    if (!level) return std::move(level).error();
    return inlines(span.begin, span.end);
}

Result<std::vector<Inline>> UsfmInlineReader::nested_note(Span span) {
    Result<NestingDepth::Level> level = context_.enter();
    if (!level) return std::move(level).error();
    return note(span.begin, span.end);
}

Result<std::vector<Inline>> UsfmInlineReader::inlines(std::size_t begin, std::size_t end) {
    std::vector<Inline> out;
    std::string buffer;
    std::size_t pos = begin;
    while (pos < end) {
        const std::size_t at = find_in(text_, '\\', pos, end);
        if (at == std::string_view::npos) {
            buffer.append(text_.substr(pos, end - pos));
            break;
        }
        buffer.append(text_.substr(pos, at - pos));
        const Marker marker = read_marker(at, end);
        if (marker.name.empty() || (marker.after < end && text_[marker.after] == '*')) {
            return marker_error("unexpected inline marker ", marker.name);
        }
        std::size_t content = marker.after;
        if (content < end && text_[content] == ' ') ++content;

        if (marker.name == "v") {
            const std::size_t number_end = find_whitespace(text_, content, end);
            buffer.resize(unicode::trim_end(buffer).size());
            push_text(out, buffer);
            if (!out.empty()) out.emplace_back(Inline::Text{" "});
            out.push_back(verse_milestone(std::string(text_.substr(content, number_end - content))));
            out.emplace_back(Inline::Text{" "});
            pos = skip_whitespace(text_, number_end, end);
            continue;
        }

        std::size_t closer_size = 0;
        const std::size_t closer = find_closer(marker, content, end, closer_size);
        Span span{content, end};
        pos = end;
        if (closer != UsfmCloserIndex::npos) {
            span.end = closer;
            pos = closer + closer_size;
        } else if (is_note_marker(marker.name)) {
            return marker_error("unterminated ", marker.name);
        } else if (is_dropped_marker(marker.name)) {
            // Without a closer only the marker's own word goes, not the
            // rest of the text.
            pos = find_whitespace(text_, content, end);
        }
        push_text(out, buffer);

        if (is_note_marker(marker.name)) {
            span = trimmed(span);
            // A caller ("+", "-" or a letter) and the white space after it.
            std::size_t second = span.begin;
            if (span.end - span.begin >= 2 && text_[span.begin] != '\\') {
                unicode::next_char(text_, second);
                std::size_t third = second;
                if (second < span.end && unicode::is_whitespace(unicode::next_char(text_, third))) {
                    span.begin = third;
                }
            }
            Result<std::vector<Inline>> children = nested_note(span);
            if (!children) return std::move(children).error();
            out.push_back(ilvex::note(marker.name, std::move(children).value()));
        } else if (is_word_marker(marker.name)) {
            if (const std::size_t bar = find_in(text_, '|', span.begin, span.end); bar != std::string_view::npos) {
                span.end = bar;
            }
            const std::string_view word = text_.substr(span.begin, span.end - span.begin);
            if (word.find('\\') == std::string_view::npos) {
                buffer.assign(word);  // runs on into the text after the marker
            } else {
                Result<std::vector<Inline>> children = nested_inlines(span);
                if (!children) return std::move(children).error();
                append(out, std::move(children).value());
            }
        } else if (!is_dropped_marker(marker.name)) {
            Result<std::vector<Inline>> children = nested_inlines(trimmed(span));
            if (!children) return std::move(children).error();
            out.push_back(phrase(marker.name, std::move(children).value()));
        }
    }
    push_text(out, buffer);
    return out;
}

Result<std::vector<Inline>> UsfmInlineReader::note(std::size_t begin, std::size_t end) {
    struct Part {
        std::string_view name;  // empty for the text before the first part marker
        Span span;
    };
    std::vector<Part> parts;
    Part current{{}, {begin, end}};
    std::size_t pos = begin;
    while (true) {
        const std::size_t at = find_in(text_, '\\', pos, end);
        if (at == std::string_view::npos) {
            current.span.end = end;
            parts.push_back(current);
            break;
        }
        const Marker marker = read_marker(at, end);
        if (is_note_part(marker.name)) {
            current.span.end = at;
            parts.push_back(current);
            std::size_t start = marker.after;
            if (start < end && text_[start] == '*') {
                // A part closed by its own closer ends there; what follows
                // belongs to no part.
                current = Part{{}, {start + 1, end}};
            } else {
                if (start < end && text_[start] == ' ') ++start;
                current = Part{marker.name, {start, end}};
            }
            pos = current.span.begin;
            continue;
        }
        std::size_t closer_size = 0;
        const std::size_t closer = find_closer(marker, marker.after, end, closer_size);
        if (closer == UsfmCloserIndex::npos) return marker_error("unterminated ", marker.name, " in a note");
        pos = closer + closer_size;
    }

    std::vector<Inline> out;
    for (const Part& part : parts) {
        const Span text = trimmed(part.span);
        if (text.begin == text.end) continue;
        Result<std::vector<Inline>> inlines = this->inlines(text.begin, text.end);
        if (!inlines) return std::move(inlines).error();
        if (part.name == "fr" || part.name == "xo") {
            out.push_back(phrase(part.name, std::move(inlines).value()));
            continue;
        }
        if (!out.empty()) out.emplace_back(Inline::Text{" "});
        append(out, std::move(inlines).value());
    }
    return out;
}

Result<std::vector<Inline>> import_usfm_inlines(std::string_view text) {
    ImportContext context(usfm_import_error);
    return UsfmInlineReader(text, context).inlines(0, text.size());
}

Result<std::vector<Inline>> import_usfm_note(std::string_view text) {
    ImportContext context(usfm_import_error);
    return UsfmInlineReader(text, context).note(0, text.size());
}

}  // namespace ilvex
