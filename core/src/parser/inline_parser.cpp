#include "parser/inline_parser.hpp"

#include <cstddef>
#include <string>
#include <utility>
#include <variant>

#include "dialektos/byte_set.hpp"
#include "dialektos/lexical.hpp"
#include "dialektos/unicode.hpp"
#include "parser/concat.hpp"
#include "parser/sim_reference.hpp"
#include "parser/suffix.hpp"

namespace ilvex {
namespace {

// The items of one parse_inlines call and the text read since the last item,
// gathered in the scratch level of its nesting, or put in the flat list of
// the parse. Comments leave the text alone, so the text around a comment
// stays one item. The tree keeps every list and text at its exact size: the
// slack of growing them would stay allocated for as long as the tree lives.
class ItemList {
public:
    explicit ItemList(InlineScanner& scanner)
        : scratch_(*scanner.scratch),
          level_(scanner.keep ? &scratch_.take(scanner.nesting) : nullptr),
          flat_(scanner.flat),
          parts_(scanner.nesting == 0 ? scanner.paragraph_parts : nullptr) {}

    // Whether the items are kept, in a tree or a flat list that can still
    // hold them; a parse that only validates builds none.
    bool keeps() const { return level_ != nullptr || flat(); }
    // Whether they go to a flat list (which can still hold them).
    bool flat() const { return flat_ != nullptr && !flat_->incomplete; }

    // Adds a piece of the scanned text to the text read. Most texts are one
    // run of the source: such a text stays a view until it becomes an item,
    // and only a text of several pieces is gathered in a buffer.
    void append(std::string_view piece) {
        if (keeps()) gather(piece);
    }

    // Builds the item in place from one of its node kinds, when a tree is
    // kept (a flat list was declined before the item was read).
    template <class Node>
    void add(Node&& node) {
        flush();
        scratch_.add(*level_, std::forward<Node>(node));
        if (parts_ != nullptr && level_->used >= part_size) hand_on_part();
    }

    // The items a flat list holds, the views into the text parsed or into
    // the dialektos.
    void open_flat(std::string_view symbol, bool mirrored) {
        flush();
        push_flat({FlatInline::Kind::Open, false, mirrored, symbol, {}, nullptr});
    }
    void add_flat(FlatInline::Kind kind, std::string_view text, std::string_view target, Suffix&& suffix) {
        flush();
        const Suffix* kept = suffix.empty() ? nullptr : &flat_->suffixes.emplace_back(std::move(suffix));
        push_flat({kind, false, true, text, target, kept});
    }
    // A text read from here on may hold a byte that the writer writes
    // otherwise than as it stands.
    void text_to_search() {
        if (flat_ != nullptr) flat_->texts_as_they_stand = false;
    }
    // An item of a kind the flat list does not hold: the paragraph is read
    // as a tree (its items are no longer kept, the rest only validated).
    void decline_flat() {
        if (flat_ != nullptr) flat_->incomplete = true;
    }

    // Ends the list: its items go to `items` when a tree is kept (which
    // is then not null).
    void finish(std::vector<Inline>* items) && {
        if (!keeps()) return;
        flush();
        if (level_ != nullptr) *items = scratch_.finish(*level_);
    }

private:
    // append's work when the text is kept; apart, so that a parse that
    // only validates reads no further than the test in append.
    void gather(std::string_view piece) {
        if (joined_ == nullptr && (run_.empty() || run_.data() + run_.size() == piece.data())) {
            run_ = std::string_view(run_.empty() ? piece.data() : run_.data(), run_.size() + piece.size());
            return;
        }
        if (joined_ == nullptr) joined_ = level_ != nullptr ? &level_->text : &flat_->made.emplace_back();
        *joined_ += run_;
        run_ = {};
        *joined_ += piece;
    }

    // Most items follow a text already added (or none): only the text read
    // since then takes a call.
    void flush() {
        if (joined_ != nullptr || !run_.empty()) flush_text();
    }

    void flush_text() {
        const std::string_view text = joined_ != nullptr ? std::string_view(*joined_) : run_;
        if (!text.empty()) {
            if (level_ != nullptr) {
                scratch_.add_text(*level_, text);
            } else {
                push_flat({FlatInline::Kind::Text, false, true, text, {}, nullptr});
            }
        }
        if (level_ != nullptr) level_->text.clear();
        joined_ = nullptr;
        run_ = {};
    }

    void push_flat(const FlatInline& item) {
        if (flat_->items.size() == max_flat_items) return decline_flat();
        flat_->items.push_back(item);
    }

    // Hands the items gathered so far on to the paragraph's sink, in the
    // level's own list, which then gathers the next ones over them. The
    // last item is markup (added just now), so no text is split.
    void hand_on_part() {
        std::vector<Inline>& items = level_->items;
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(level_->used), items.end());
        Block part(Block::Paragraph{});
        std::vector<Inline>& handed = std::get<Block::Paragraph>(part.node).inlines;
        handed.swap(items);
        parts_->paragraph_part(part);
        handed.swap(items);
        if (scratch_.recycling) scratch_.take_back_items(items);
        level_->used = 0;
    }

    // How many items a paragraph's list gathers before handing them on:
    // enough that a part costs little, few enough to be held at once.
    static constexpr std::size_t part_size = 256;
    // A flat list holds a paragraph whole, so a long one is read as a tree
    // instead, in parts.
    static constexpr std::size_t max_flat_items = 4 * part_size;

    InlineScratch& scratch_;
    InlineScratch::Level* level_;  // null when no tree is kept
    FlatInlines* flat_;            // where the items go when they go to a flat list
    BlockSink* parts_;      // where a paragraph's items go in parts; null when kept whole
    std::string_view run_;  // the text read, while it is one run of the source
    std::string* joined_ = nullptr;  // the text read, once it is of several pieces
};

// A run of consecutive sigils: its byte offset and length (a sigil is one byte).
struct SigilRun {
    std::size_t start = 0;
    std::size_t length = 0;

    std::size_t end() const { return start + length; }
};

// The sigil written `count` times (at most four).
std::string_view sigils(const InlineScanner& scanner, std::size_t count) {
    return std::string_view(scanner.backslash ? "\\\\\\\\" : "@@@@", count);
}

Error other(std::string message) { return Error(ErrorKind::Other, std::move(message)); }

bool contains_whitespace(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        if (unicode::is_whitespace(unicode::next_char(text, i))) return true;
    }
    return false;
}

// E before the sigil or "|" stands for that character; any other E is itself.
void read_escape(InlineScanner& scanner, ItemList& list) {
    const std::size_t next = scanner.pos + 1;
    if (scanner.byte_is(next, scanner.sigil()) || scanner.byte_is(next, '|')) {
        list.append(scanner.text.substr(next, 1));
        scanner.pos += 2;
        return;
    }
    list.append(scanner.text.substr(scanner.pos, 1));
    ++scanner.pos;
}

// Takes the character at the scanner and the plain text after it, up to the
// next byte in `stops` (the bytes that can begin markup or the closer).
void read_plain_text(InlineScanner& scanner, const FourBytes& stops, ItemList& list) {
    const std::size_t start = scanner.pos;
    const std::size_t after_first = start + unicode::char_length_at(scanner.text, start);
    scanner.pos = stops.find_in(scanner.text, after_first);
    list.append(scanner.text.substr(start, scanner.pos - start));
}

SigilRun sigil_run_at(const InlineScanner& scanner) {
    SigilRun run{scanner.pos, 0};
    while (scanner.byte_is(run.end(), scanner.sigil())) ++run.length;
    return run;
}

// --- comments ---------------------------------------------------------------

bool is_comment(const InlineScanner& scanner, const SigilRun& run) {
    return (run.length == 2 || run.length == 3) && scanner.byte_is(run.end(), '/');
}

// "@@/" hides the rest of its line, the line break and the white space that
// follows, so the text on both sides joins up.
void skip_line_comment(InlineScanner& scanner) {
    const auto newline = scanner.text.find('\n', scanner.pos);
    if (newline == std::string_view::npos) {
        scanner.pos = scanner.text.size();
        return;
    }
    scanner.pos = newline + 1;
    while (!scanner.at_end()) {
        std::size_t next = scanner.pos;
        if (!unicode::is_whitespace(unicode::next_char(scanner.text, next))) break;
        scanner.pos = next;
    }
}

Status skip_block_comment(InlineScanner& scanner, const SigilRun& run) {
    scanner.pos = run.end() + 1;
    if (!read_until(scanner, concat({"/", sigils(scanner, 3)}))) {
        return error_here(scanner,
                          Error(ErrorKind::UnmatchedSim, concat({sigils(scanner, 3), "/"})));
    }
    return {};
}

Status skip_comment(InlineScanner& scanner, const SigilRun& run) {
    if (run.length == 3) return skip_block_comment(scanner, run);
    skip_line_comment(scanner);
    return {};
}

// --- nested content ---------------------------------------------------------

// The children of an item, held only where the parse keeps a tree: a parse
// that validates or builds a flat list makes no vector to free per item.
class Children {
public:
    explicit Children(const InlineScanner& scanner) {
        if (scanner.keep) items_.emplace();
    }
    std::vector<Inline>* target() { return items_ ? &*items_ : nullptr; }
    std::vector<Inline>&& taken() { return std::move(*items_); }

private:
    std::optional<std::vector<Inline>> items_;
};

// The content of an endo-simmere, inline diaphane or endo-axioma up to its
// closer, which is consumed; an unclosed one is reported as its opener,
// `opener_sigils` then `opener_rest`. The nesting bound keeps hostile input
// from driving the recursion through the stack.
Status parse_nested(InlineScanner& scanner, const Dialektos& dialektos, const SigilRun& run,
                    std::string_view closer, std::size_t opener_sigils, std::string_view opener_rest,
                    Children& children) {
    if (scanner.nesting >= max_inline_nesting) {
        return error_at(
            scanner, run.start,
            other(concat({"nesting deeper than ", std::to_string(max_inline_nesting), " levels"})));
    }
    ++scanner.nesting;
    Status read = parse_inlines(scanner, dialektos, closer, children.target());
    --scanner.nesting;
    if (!read) return read;
    if (!scanner.at(closer)) {
        return error_here(scanner, Error(ErrorKind::UnmatchedSim, concat({sigils(scanner, opener_sigils), opener_rest})));
    }
    scanner.pos += closer.size();
    return {};
}

// --- one sigil --------------------------------------------------------------

// '@("scheme:value")'
Status parse_milestone(InlineScanner& scanner, const SigilRun& run, ItemList& list) {
    scanner.pos = run.end() + 2;
    const auto body = read_until(scanner, "\")");
    if (!body) return error_here(scanner, other("unterminated milestone"));
    const auto colon = body->find(':');
    if (colon == std::string_view::npos) {
        return error_here(scanner,
                          other(concat({"milestone `", *body, "` has no scheme separator `:`"})));
    }
    const std::string_view scheme = body->substr(0, colon);
    const std::string_view value = body->substr(colon + 1);
    if (!is_valid_genos(scheme)) {
        return error_here(scanner, other(concat({"invalid milestone scheme `", scheme, "`"})));
    }
    if (!is_valid_milestone_value(value)) {
        return error_here(scanner, other(concat({"invalid milestone value `", value, "`"})));
    }
    Suffix suffix;
    if (Status read = parse_suffix(scanner, suffix); !read) return std::move(read).error();
    if (suffix.onym) return error_here(scanner, other("a milestone cannot carry an onym suffix"));
    if (scanner.references != nullptr) scanner.references->milestone(scheme, value);
    if (list.flat()) {
        list.add_flat(FlatInline::Kind::Milestone, scheme, value, std::move(suffix));
    } else if (list.keeps()) {
        list.add(Inline::Milestone{std::string(scheme), std::string(value), std::move(suffix)});
    }
    return {};
}

// "@(onym)": a bare anchor, without suffix.
Status parse_onym_anchor(InlineScanner& scanner, const SigilRun& run, ItemList& list) {
    scanner.pos = run.end() + 1;
    const auto onym = read_until(scanner, ")");
    if (!onym) return error_here(scanner, other("unterminated onym anchor"));
    if (!is_valid_onym(*onym)) {
        return error_here(scanner, Error(ErrorKind::InvalidOnym, std::string(*onym)));
    }
    if (scanner.references != nullptr) scanner.references->onym(*onym);
    if (list.flat()) {
        list.add_flat(FlatInline::Kind::OnymAnchor, *onym, {}, {});
    } else if (list.keeps()) {
        list.add(Inline::OnymAnchor{std::string(*onym)});
    }
    return {};
}

// The closer is the episim when the opener used the symbol, and the name
// again, exactly as written, when it used "{name}".
Status parse_endo_simmere(InlineScanner& scanner, const Dialektos& dialektos, const SigilRun& run,
                          const SimDef& sim, const std::optional<std::string>& name, ItemList& list) {
    std::string storage;
    const std::string_view closer = body_closer(scanner.symbols, sim, name, scanner.sigil(), storage);
    // In a flat list its content follows its opening, up to its Close.
    if (list.flat()) list.open_flat(sim.symbol, sim.mirrored);
    Children children(scanner);
    if (Status read = parse_nested(scanner, dialektos, run, closer, 1, sim.symbol, children); !read) return read;
    Suffix suffix;
    if (Status read = parse_suffix(scanner, suffix); !read) return std::move(read).error();
    // Its onym stands where its closer does, after what its body holds.
    if (scanner.references != nullptr && suffix.onym) scanner.references->onym(*suffix.onym);
    if (list.flat()) {
        list.add_flat(FlatInline::Kind::Close, {}, {}, std::move(suffix));
    } else if (list.keeps()) {
        list.add(Inline::EndoSimmere{sim.symbol, children.taken(), std::move(suffix), sim.mirrored});
    }
    return {};
}

Status parse_monosim(InlineScanner& scanner, const SimDef& sim, ItemList& list) {
    if (!scanner.byte_is(scanner.pos, '(')) {
        return error_here(
            scanner,
            other(concat({"monosim `", sigils(scanner, 1), sim.symbol, "` requires `(param)`"})));
    }
    ++scanner.pos;
    const auto param = read_until(scanner, ")");
    if (!param) return error_here(scanner, other("unterminated monosim parameter"));
    if (contains_whitespace(*param)) {
        return error_here(scanner, Error(ErrorKind::MonosimWhitespace, std::string(*param)));
    }
    Suffix suffix;
    if (Status read = parse_suffix(scanner, suffix); !read) return std::move(read).error();
    if (list.flat()) {
        list.add_flat(FlatInline::Kind::Monosim, sim.symbol, *param, std::move(suffix));
    } else if (list.keeps()) {
        list.add(Inline::Monosim{sim.symbol, std::string(*param), std::move(suffix)});
    }
    return {};
}

// Inside running text a para-simmere sim can only point at a simmere.
Status parse_deixis(InlineScanner& scanner, const SimDef& sim, ItemList& list) {
    if (!scanner.byte_is(scanner.pos, '(')) {
        return error_here(scanner, Error(ErrorKind::EndoMimicsPara));
    }
    ++scanner.pos;
    const auto target = read_until(scanner, ")");
    if (!target) return error_here(scanner, other("unterminated deixis reference"));
    if (!is_valid_onym(*target)) {
        return error_here(scanner, Error(ErrorKind::InvalidOnym, std::string(*target)));
    }
    Suffix suffix;
    if (Status read = parse_suffix(scanner, suffix); !read) return std::move(read).error();
    if (scanner.references != nullptr) scanner.references->deixis(sim.symbol, *target);
    if (list.flat()) {
        list.add_flat(FlatInline::Kind::Deixis, sim.symbol, *target, std::move(suffix));
    } else if (list.keeps()) {
        list.add(Inline::Deixis{sim.symbol, std::string(*target), std::move(suffix)});
    }
    return {};
}

// Reads the item of the sim found at the token, `name` its "{name}" when
// the token was one.
Status parse_sim_item(InlineScanner& scanner, const Dialektos& dialektos, const SigilRun& run, const SimDef& sim,
                      const std::optional<std::string>& name, ItemList& list) {
    if (std::holds_alternative<EndoSimmere>(sim.form)) {
        return parse_endo_simmere(scanner, dialektos, run, sim, name, list);
    }
    if (std::holds_alternative<Monosim>(sim.form)) return parse_monosim(scanner, sim, list);
    return parse_deixis(scanner, sim, list);
}

Status parse_sim_token(InlineScanner& scanner, const Dialektos& dialektos, const SigilRun& run,
                       ItemList& list) {
    const std::string_view token = scanner.text.substr(run.end());
    // Most tokens are a symbol the index finds: looked up there without a
    // Result to make and unmake.
    if (scanner.symbols != nullptr && !token.starts_with('{')) {
        if (const SimDef* sim = scanner.symbols->longest_match(token)) {
            scanner.pos = run.end() + sim->symbol.size();
            return parse_sim_item(scanner, dialektos, run, *sim, std::nullopt, list);
        }
    }
    auto reference = find_sim_reference(dialektos, scanner.symbols, token);
    if (!reference) return error_at(scanner, run.start, std::move(reference).error());
    if (reference->sim == nullptr) {
        return error_at(
            scanner, run.start,
            Error(ErrorKind::UndefinedSim,
                  concat({sigils(scanner, 1), token.substr(0, symbol_run_length(token))})));
    }
    scanner.pos = run.end() + reference->byte_length;
    return parse_sim_item(scanner, dialektos, run, *reference->sim, reference->name, list);
}

Status parse_single_sigil(InlineScanner& scanner, const Dialektos& dialektos, const SigilRun& run,
                          ItemList& list) {
    if (scanner.byte_is(run.end(), '(')) {
        if (scanner.byte_is(run.end() + 1, '"')) return parse_milestone(scanner, run, list);
        return parse_onym_anchor(scanner, run, list);
    }
    return parse_sim_token(scanner, dialektos, run, list);
}

// --- two sigils -------------------------------------------------------------

// '@@"text"@@': taken verbatim, escapes included.
Status parse_inline_enlexis(InlineScanner& scanner, const SigilRun& run, ItemList& list) {
    scanner.pos = run.end() + 1;
    const auto text = read_until(scanner, concat({"\"", sigils(scanner, 2)}));
    if (!text) {
        return error_here(scanner,
                          Error(ErrorKind::UnmatchedSim, concat({sigils(scanner, 2), "\""})));
    }
    Suffix suffix;
    if (Status read = parse_suffix(scanner, suffix); !read) return std::move(read).error();
    if (list.flat()) {
        list.add_flat(FlatInline::Kind::Enlexis, *text, {}, std::move(suffix));
    } else if (list.keeps()) {
        list.add(Inline::Enlexis{std::string(*text), std::move(suffix)});
    }
    return {};
}

// "@@(:onym:)", or "@@+(:onym:)" for the literal inclusion. The onym is taken
// as written.
Status parse_axioma_reference(InlineScanner& scanner, const SigilRun& run, bool enlexis,
                              ItemList& list) {
    list.decline_flat();
    scanner.pos = run.end() + 1;
    if (enlexis) {
        if (!scanner.byte_is(scanner.pos, '(')) {
            return error_here(scanner, other("malformed axioma-enlexis reference"));
        }
        ++scanner.pos;
    }
    const auto inner = read_until(scanner, ")");
    if (!inner) return error_here(scanner, other("unterminated axioma reference"));
    if (inner->size() < 2 || !inner->starts_with(':') || !inner->ends_with(':')) {
        return error_here(
            scanner,
            other(concat({"expected `(:ref:)` axioma reference, found `(", *inner, ")`"})));
    }
    if (list.keeps()) list.add(Inline::AxiomaReference{std::string(inner->substr(1, inner->size() - 2)), enlexis});
    return {};
}

// "@@." ... ".@@"
Status parse_inline_diaphane(InlineScanner& scanner, const Dialektos& dialektos, const SigilRun& run,
                             ItemList& list) {
    list.decline_flat();
    scanner.pos = run.end() + 1;
    Children children(scanner);
    if (Status read = parse_nested(scanner, dialektos, run, concat({".", sigils(scanner, 2)}), 2, ".", children);
        !read) {
        return read;
    }
    Suffix suffix;
    if (Status read = parse_suffix(scanner, suffix); !read) return std::move(read).error();
    if (list.keeps()) list.add(Inline::Diaphane{children.taken(), std::move(suffix)});
    return {};
}

// "@@:" ... ":@@(onym)"
Status parse_endo_axioma(InlineScanner& scanner, const Dialektos& dialektos, const SigilRun& run,
                         ItemList& list) {
    list.decline_flat();
    scanner.pos = run.end() + 1;
    // An axioma body holds no references of the outline.
    ReferenceSink* const references = std::exchange(scanner.references, nullptr);
    Children children(scanner);
    Status read = parse_nested(scanner, dialektos, run, concat({":", sigils(scanner, 2)}), 2, ":", children);
    scanner.references = references;
    if (!read) return read;
    if (!scanner.byte_is(scanner.pos, '(')) {
        return error_here(scanner, other("endo-axioma requires `(onym)` after its episim"));
    }
    ++scanner.pos;
    const auto onym = read_until(scanner, ")");
    if (!onym) return error_here(scanner, other("unterminated axioma onym"));
    if (!is_valid_onym(*onym)) {
        return error_here(scanner, Error(ErrorKind::InvalidOnym, std::string(*onym)));
    }
    if (list.keeps()) list.add(Inline::EndoAxioma{std::string(*onym), children.taken()});
    return {};
}

Status parse_double_sigil(InlineScanner& scanner, const Dialektos& dialektos, const SigilRun& run,
                          ItemList& list) {
    const std::size_t after = run.end();
    if (after >= scanner.text.size()) {
        return error_at(scanner, run.start,
                        Error(ErrorKind::UndefinedSim, std::string(sigils(scanner, 2))));
    }
    switch (scanner.text[after]) {
        case '"': return parse_inline_enlexis(scanner, run, list);
        case '(': return parse_axioma_reference(scanner, run, false, list);
        case '+': return parse_axioma_reference(scanner, run, true, list);
        case '.': return parse_inline_diaphane(scanner, dialektos, run, list);
        case ':': return parse_endo_axioma(scanner, dialektos, run, list);
        default: break;
    }
    const std::string_view next =
        scanner.text.substr(after, unicode::char_length_at(scanner.text, after));
    return error_at(scanner, run.start,
                    Error(ErrorKind::UndefinedSim, concat({sigils(scanner, 2), next})));
}

// --- three and four sigils: block forms, refused in running text ------------

Error refuse_block_form(const InlineScanner& scanner, const SigilRun& run) {
    if (run.length == 4) {
        return error_at(scanner, run.start, other("enmedia is only valid in para-context"));
    }
    if (scanner.byte_is(run.end(), '(') || scanner.byte_is(run.end(), '+')) {
        return error_at(scanner, run.start, Error(ErrorKind::AnaphorInEndo));
    }
    return error_at(scanner, run.start, other("trigraph block form in endo-context"));
}

// Reads the item the sigil run opens into `list`.
Status parse_sigil_item(InlineScanner& scanner, const Dialektos& dialektos, const SigilRun& run,
                        ItemList& list) {
    if (run.length == 1) return parse_single_sigil(scanner, dialektos, run, list);
    if (run.length == 2) return parse_double_sigil(scanner, dialektos, run, list);
    return refuse_block_form(scanner, run);
}

}  // namespace

Status parse_inlines(InlineScanner& scanner, const Dialektos& dialektos, std::optional<std::string_view> closer,
                     std::vector<Inline>* items) {
    if (scanner.scratch == nullptr) {
        InlineScratch own;
        scanner.scratch = &own;
        Status read = parse_inlines(scanner, dialektos, closer, items);
        scanner.scratch = nullptr;
        return read;
    }
    ItemList list(scanner);
    // The bytes that can begin markup, and the closer's first byte (the
    // sigil again when there is none).
    const FourBytes stops(scanner.sigil(), scanner.escape(), '|',
                          closer && !closer->empty() ? closer->front() : scanner.sigil());
    while (!scanner.at_end()) {
        const char c = scanner.text[scanner.pos];
        // The closer wins over everything, an escape character before it included.
        if (closer && (closer->empty() || c == closer->front()) && scanner.at(*closer)) break;
        if (c == scanner.escape()) {
            list.text_to_search();
            read_escape(scanner, list);
        } else if (c == '|' && scanner.byte_is(scanner.pos + 1, scanner.sigil())) {
            ++scanner.pos;  // "|" only separates text from the markup after it
        } else if (c != scanner.sigil()) {
            if (c == '|') list.text_to_search();
            read_plain_text(scanner, stops, list);
        } else {
            const SigilRun run = sigil_run_at(scanner);
            if (run.length > 4) {
                return error_at(
                    scanner, run.start,
                    Error(ErrorKind::SigilRunTooLong, static_cast<std::uint64_t>(run.length)));
            }
            if (is_comment(scanner, run)) {
                if (auto skipped = skip_comment(scanner, run); !skipped) {
                    return std::move(skipped).error();
                }
                continue;
            }
            if (auto read = parse_sigil_item(scanner, dialektos, run, list); !read) {
                return std::move(read).error();
            }
        }
    }
    std::move(list).finish(items);
    return {};
}

namespace {

InlineScanner scanner_for(const ParserState& state, const Dialektos& dialektos, std::string_view text,
                          std::uint64_t base_line, bool keep) {
    return InlineScanner{.text = text,
                         .path = state.path,
                         .base_line = base_line,
                         .backslash = state.backslash,
                         .scratch = &state.inline_scratch,
                         .keep = keep,
                         .references = state.references,
                         .symbols = state.symbols_for(dialektos)};
}

// The items of the whole text of `scanner`, into `items` when it keeps them.
Status parse_whole(InlineScanner& scanner, const Dialektos& dialektos, std::vector<Inline>* items) {
    if (Status read = parse_inlines(scanner, dialektos, std::nullopt, items); !read) return read;
    if (!scanner.at_end()) return error_here(scanner, other("unexpected trailing content"));
    return {};
}

}  // namespace

Result<std::vector<Inline>> parse_inline_text(const ParserState& state, const Dialektos& dialektos,
                                              std::string_view text, std::uint64_t base_line, bool whole,
                                              BlockSink* parts) {
    InlineScanner scanner =
        scanner_for(state, dialektos, text, base_line, state.keep_content || (whole && state.collect_records));
    scanner.paragraph_parts = parts;
    std::vector<Inline> items;
    if (Status read = parse_whole(scanner, dialektos, &items); !read) return std::move(read).error();
    return items;
}

Status parse_flat_inline_text(const ParserState& state, const Dialektos& dialektos, std::string_view text,
                              std::uint64_t base_line, FlatInlines& out) {
    InlineScanner scanner = scanner_for(state, dialektos, text, base_line, false);
    scanner.flat = &out;
    // A text holds a sigil, a bar or an escape character only by way of an
    // escape or a bar that the parse meets (see parse_inlines); a carriage
    // return, wherever the source has one (of a text that has any).
    out.texts_as_they_stand = !state.lines.carriage_return_met() || text.find('\r') == std::string_view::npos;
    return parse_whole(scanner, dialektos, nullptr);
}

}  // namespace ilvex
