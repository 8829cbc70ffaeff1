// The round-trip properties of the two spellings and of imports, shared by
// the property test and the fuzz targets. brachy and plero are done here as
// the module does them: the check entry, then the writer given the parsed
// dialektos and a resolver for the dialektoi of Englossis blocks.
//
// Each check answers with what failed ("" when every property holds), the
// texts involved included, so that a failure names its own case.
#pragma once

#include <optional>
#include <type_traits>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "dendron/document.hpp"
#include "dendron/plero.hpp"
#include "dendron/writable_values.hpp"
#include "dendron/writer.hpp"
#include "dialektos/error.hpp"
#include "dialektos/lexical.hpp"
#include "dialektos/memory_source.hpp"
#include "dialektos/resolution.hpp"
#include "dialektos/serialization.hpp"
#include "dialektos/unicode.hpp"
#include "endo/import_sink.hpp"
#include "endo/import_writer.hpp"
#include "lib/check_entry.hpp"
#include "parser/document_lines.hpp"

namespace ilvex::testing {

// The check entry, for a text that must be a document.
inline Result<ParsedDocument> parse_text(std::string_view text, std::string_view path) {
    Result<ParsedInput> parsed = parse_input(text, path);
    if (!parsed) return std::move(parsed).error();
    if (auto* document = std::get_if<ParsedDocument>(&parsed.value())) return std::move(*document);
    return Error(ErrorKind::Other, "a definition file, not a document");
}

inline std::string brachy_of(const ParsedDocument& parsed, std::string_view path) {
    return write_document(parsed.document, &parsed.dialektos, englossis_resolver(path));
}

inline Result<std::string> plero_of(const ParsedDocument& parsed, std::optional<std::string_view> lang,
                                    std::string_view path) {
    return render_plero(parsed.document, parsed.dialektos, lang, englossis_resolver(path));
}

// The tree with what its text form cannot keep taken out: white space that
// the parser trims where the writer puts the text (the start of a paragraph
// line, both ends of a lemma or hypograph, the end of a verse line), texts
// side by side (they read back as one, in NFC), empty texts and Paragraphs
// left with no inlines; and what the "@" spelling cannot hold as it is:
// backslashes that end a text in front of markup are the enlexis the writer
// makes of them, and an enlexis is the pieces it may be written in.
class TreeNormalizer {
public:
    Document operator()(Document document) {
        blocks(document.blocks);
        return document;
    }

private:
    enum class Lines { Single, Verse, Paragraph };

    void blocks(std::vector<Block>& list) {
        std::vector<Block> kept;
        for (Block& block : list) {
            if (auto* x = std::get_if<Block::Paragraph>(&block.node)) {
                run(x->inlines, Lines::Paragraph);
                if (x->inlines.empty()) continue;
            } else if (auto* x = std::get_if<Block::Para>(&block.node)) {
                run(x->lemma, Lines::Single);
                blocks(x->children);
                run(x->hypograph, Lines::Single);
            } else if (auto* x = std::get_if<Block::Stichoi>(&block.node)) {
                run(x->lemma, Lines::Single);
                std::vector<Strophe> strophes;
                for (Strophe& strophe : x->strophes) {
                    for (auto& line : strophe) run(line, Lines::Verse);
                    if (!strophe.empty()) strophes.push_back(std::move(strophe));
                }
                x->strophes = std::move(strophes);
                run(x->hypograph, Lines::Single);
            } else if (auto* x = std::get_if<Block::Diaphane>(&block.node)) {
                blocks(x->children);
            } else if (auto* x = std::get_if<Block::Englossis>(&block.node)) {
                blocks(x->children);
            } else if (auto* x = std::get_if<Block::ParaAxioma>(&block.node)) {
                blocks(x->children);
            }
            kept.push_back(std::move(block));
        }
        list = std::move(kept);
    }

    // One line or paragraph: leading white space goes at every line start
    // (nested texts included), trailing white space at the end of a single
    // line or verse line.
    void run(std::vector<Inline>& list, Lines lines) {
        lines_ = lines;
        at_line_start_ = true;
        items(list, false);
        if (lines == Lines::Paragraph || list.empty()) return;
        if (auto* last = std::get_if<Inline::Text>(&list.back().node)) {
            last->text = std::string(unicode::trim_end(last->text));
            if (last->text.empty()) list.pop_back();
        }
    }

    void items(std::vector<Inline>& list, bool bar_closer) {
        std::vector<Inline> kept;
        for (Inline& item : list) {
            if (auto* text = std::get_if<Inline::Text>(&item.node)) {
                std::string visible = drop_line_starts(text->text);
                if (visible.empty()) continue;
                if (!kept.empty()) {
                    if (auto* before = std::get_if<Inline::Text>(&kept.back().node)) {
                        before->text += visible;
                        continue;
                    }
                }
                kept.emplace_back(Inline::Text{std::move(visible)});
                continue;
            }
            if (auto* enlexis = std::get_if<Inline::Enlexis>(&item.node)) {
                for (Inline& piece : enlexis_pieces(*enlexis)) kept.push_back(std::move(piece));
                at_line_start_ = false;
                continue;
            }
            at_line_start_ = false;
            std::visit(
                [&](auto& x) {
                    if constexpr (std::is_same_v<std::decay_t<decltype(x)>, Inline::EndoSimmere>) {
                        items(x.children, episim_symbol(x.symbol, x.mirrored).starts_with('|'));
                    } else if constexpr (requires { x.children; }) {
                        items(x.children, false);
                    }
                },
                item.node);
            kept.push_back(std::move(item));
        }
        list = isolate_backslashes(std::move(kept), bar_closer);
        for (Inline& item : list) {
            if (auto* text = std::get_if<Inline::Text>(&item.node)) text->text = unicode::nfc(text->text);
        }
    }

    // The "@" spelling cannot hold the enlexis closer in an enlexis, nor
    // every line feed: the writer writes such an enlexis in pieces, split
    // after the quote of the closer and at line feeds, which go between the
    // pieces as text. Every enlexis is cut so here, whichever the writer
    // needed, the suffix going with the last piece.
    static std::vector<Inline> enlexis_pieces(const Inline::Enlexis& enlexis) {
        std::vector<Inline> out;
        for (const Inline& piece : literal_inlines(enlexis.text)) {
            const std::string_view text = std::get<Inline::Enlexis>(piece.node).text;
            std::size_t start = 0;
            for (std::size_t feed = text.find('\n'); feed != std::string_view::npos; feed = text.find('\n', start)) {
                out.emplace_back(Inline::Enlexis{std::string(text.substr(start, feed - start)), {}});
                out.emplace_back(Inline::Text{"\n"});
                start = feed + 1;
            }
            out.emplace_back(Inline::Enlexis{std::string(text.substr(start)), {}});
        }
        std::get<Inline::Enlexis>(out.back().node).suffix = enlexis.suffix;
        return out;
    }

    // No escape writes a backslash in front of the sigil or "|": the writer
    // puts the backslashes that end a text in front of markup (or of a
    // closer that begins with "|") down as an enlexis of their own.
    static std::vector<Inline> isolate_backslashes(std::vector<Inline> list, bool bar_closer) {
        std::vector<Inline> out;
        for (std::size_t i = 0; i < list.size(); ++i) {
            auto* text = std::get_if<Inline::Text>(&list[i].node);
            const bool before_markup = i + 1 < list.size() ? list[i + 1].kind() != InlineKind::Text : bar_closer;
            if (!text || !text->text.ends_with('\\') || !before_markup) {
                out.push_back(std::move(list[i]));
                continue;
            }
            const std::size_t kept = text->text.find_last_not_of('\\') + 1;
            std::string backslashes = text->text.substr(kept);
            text->text.resize(kept);
            if (kept > 0) out.push_back(std::move(list[i]));
            out.emplace_back(Inline::Enlexis{std::move(backslashes), {}});
        }
        return out;
    }

    std::string drop_line_starts(std::string_view text) {
        std::string out;
        std::size_t i = 0;
        while (i < text.size()) {
            const std::size_t start = i;
            const char32_t c = unicode::next_char(text, i);
            if (at_line_start_ && lines_ != Lines::Verse && unicode::is_whitespace(c)) continue;
            if (!unicode::is_whitespace(c)) at_line_start_ = false;
            if (c == '\n' && lines_ == Lines::Paragraph) at_line_start_ = true;
            out.append(text.substr(start, i - start));
        }
        return out;
    }

    Lines lines_ = Lines::Paragraph;
    bool at_line_start_ = true;
};

inline Document comparable(Document document) { return TreeNormalizer()(std::move(document)); }

// A one-line-per-node description of a tree, for failure messages.
class TreeDump {
public:
    std::string operator()(const Document& document) {
        out_ = document.dialektos + "\n";
        blocks(document.blocks, 1);
        return out_;
    }

private:
    void line(int depth, std::string_view what) {
        out_.append(static_cast<std::size_t>(depth) * 2, ' ');
        out_ += what;
        out_ += '\n';
    }

    static std::string suffix(const Suffix& s) {
        std::string out;
        write_suffix(s, out);
        return out.empty() ? "" : " suffix " + out;
    }

    static std::string taxis(const Taxis& t) {
        if (t.state == Taxis::State::Absent) return "";
        return t.state == Taxis::State::Empty ? " taxis ()" : " taxis " + std::to_string(t.number);
    }

    void inlines(std::string_view label, const std::vector<Inline>& list, int depth) {
        if (list.empty()) return;
        line(depth, label);
        for (const Inline& item : list) inline_item(item, depth + 1);
    }

    void inline_item(const Inline& item, int depth) {
        std::visit(
            [&](const auto& x) {
                using T = std::decay_t<decltype(x)>;
                if constexpr (std::is_same_v<T, Inline::Text>) line(depth, "text [" + x.text + "]");
                if constexpr (std::is_same_v<T, Inline::EndoSimmere>) {
                    line(depth, "endo " + x.symbol + (x.mirrored ? "" : " plain") + suffix(x.suffix));
                    for (const Inline& child : x.children) inline_item(child, depth + 1);
                }
                if constexpr (std::is_same_v<T, Inline::Enlexis>) line(depth, "enlexis [" + x.text + "]" + suffix(x.suffix));
                if constexpr (std::is_same_v<T, Inline::Diaphane>) {
                    line(depth, "diaphane" + suffix(x.suffix));
                    for (const Inline& child : x.children) inline_item(child, depth + 1);
                }
                if constexpr (std::is_same_v<T, Inline::Monosim>) line(depth, "monosim " + x.symbol + " [" + x.param + "]" + suffix(x.suffix));
                if constexpr (std::is_same_v<T, Inline::OnymAnchor>) line(depth, "anchor [" + x.onym + "]");
                if constexpr (std::is_same_v<T, Inline::Milestone>) line(depth, "milestone [" + x.scheme + ":" + x.value + "]" + suffix(x.suffix));
                if constexpr (std::is_same_v<T, Inline::Deixis>) line(depth, "deixis " + x.symbol + " [" + x.target + "]" + suffix(x.suffix));
                if constexpr (std::is_same_v<T, Inline::EndoAxioma>) {
                    line(depth, "endo-axioma [" + x.onym + "]");
                    for (const Inline& child : x.children) inline_item(child, depth + 1);
                }
                if constexpr (std::is_same_v<T, Inline::AxiomaReference>) line(depth, std::string(x.enlexis ? "axioma-enlexis [" : "axioma-ref [") + x.onym + "]");
            },
            item.node);
    }

    void blocks(const std::vector<Block>& list, int depth) {
        for (const Block& block : list) {
            std::visit(
                [&](const auto& x) {
                    using T = std::decay_t<decltype(x)>;
                    if constexpr (std::is_same_v<T, Block::Paragraph>) inlines("paragraph", x.inlines, depth);
                    if constexpr (std::is_same_v<T, Block::Paragraph>) if (x.inlines.empty()) line(depth, "paragraph (empty)");
                    if constexpr (std::is_same_v<T, Block::Para>) {
                        line(depth, "para " + x.symbol + (x.mirrored ? "" : " plain") + taxis(x.taxis) + suffix(x.suffix));
                        inlines("lemma", x.lemma, depth + 1);
                        blocks(x.children, depth + 1);
                        inlines("hypograph", x.hypograph, depth + 1);
                    }
                    if constexpr (std::is_same_v<T, Block::Stichoi>) {
                        line(depth, "stichoi " + x.symbol.value_or("(anonymous)") + taxis(x.taxis) + suffix(x.suffix));
                        inlines("lemma", x.lemma, depth + 1);
                        for (const Strophe& strophe : x.strophes) {
                            line(depth + 1, "strophe");
                            for (const auto& verse : strophe) inlines("verse", verse, depth + 2);
                        }
                        inlines("hypograph", x.hypograph, depth + 1);
                    }
                    if constexpr (std::is_same_v<T, Block::Diaphane>) {
                        line(depth, "diaphane" + suffix(x.suffix));
                        blocks(x.children, depth + 1);
                    }
                    if constexpr (std::is_same_v<T, Block::MonadEnlexis>) line(depth, "monad-enlexis [" + x.text + "]" + suffix(x.suffix));
                    if constexpr (std::is_same_v<T, Block::Englossis>) {
                        line(depth, "englossis " + x.dialektos + suffix(x.suffix));
                        blocks(x.children, depth + 1);
                    }
                    if constexpr (std::is_same_v<T, Block::Enmedia>) line(depth, "enmedia [" + x.param + "]");
                    if constexpr (std::is_same_v<T, Block::EnmediaDigest>) line(depth, "enmedia-digest [" + x.digest + "]");
                    if constexpr (std::is_same_v<T, Block::Anaphor>) line(depth, "anaphor [" + x.param + "]");
                    if constexpr (std::is_same_v<T, Block::AnaphorEnlexis>) line(depth, "anaphor-enlexis [" + x.param + "]");
                    if constexpr (std::is_same_v<T, Block::ParaAxioma>) {
                        line(depth, "para-axioma [" + x.onym + "]");
                        blocks(x.children, depth + 1);
                    }
                    if constexpr (std::is_same_v<T, Block::AxiomaReference>) line(depth, std::string(x.enlexis ? "axioma-enlexis [" : "axioma-ref [") + x.onym + "]");
                },
                block.node);
        }
    }

    std::string out_;
};

inline std::string dump(const Document& document) { return TreeDump()(document); }

inline std::string quoted(std::string_view label, std::string_view text) {
    return std::string(label) + ":\n<<<" + std::string(text) + ">>>\n";
}

inline std::string failure_text(const Error& error) { return error_message(error); }

// The spelling `again` of the document `written` read back, which must give
// `written` itself.
inline std::string fixed_point_failure(std::string_view what, const std::string& written,
                                       const Result<std::string>& again) {
    if (!again) return std::string(what) + " of its own output fails: " + failure_text(again.error()) + "\n";
    if (*again != written) return std::string(what) + " is no fixed point\n" + quoted("again", *again);
    return "";
}

// The outcome of a check: whether the input was a document at all (only
// then do the properties apply), and what failed.
struct RoundTrip {
    bool applies = false;
    std::string failure;
};

// `text` with every enlexis cut at a line feed joined again. Plero cuts an
// enlexis where a line of it would read as the block's plerographic closer,
// which brachy, whose closer differs, keeps inside: brachy of the plero
// text then writes the cut, `"@@` and `@@"` around the line feed.
inline std::string without_enlexis_cuts(std::string text) {
    constexpr std::string_view cut = "\"@@\n@@\"";
    std::string joined;
    std::size_t start = 0;
    for (std::size_t at = text.find(cut); at != std::string::npos; at = text.find(cut, start)) {
        joined.append(text, start, at - start);
        joined += '\n';
        start = at + cut.size();
    }
    if (start == 0) return text;
    joined.append(text, start);
    return joined;
}

// One spelling, plero with `lang` or (without `plero`) brachy, of the
// parsed text `text`: it must read back, give brachy's text again through
// brachy, and itself again through the same spelling.
inline std::string spelling_failure(const ParsedDocument& parsed, const std::string& brachy, bool plero,
                                    std::optional<std::string_view> lang, std::string_view path) {
    const std::string name = plero ? "plero" + (lang ? "(" + std::string(*lang) + ")" : std::string()) : "brachy";
    Result<std::string> written = plero ? plero_of(parsed, lang, path) : Result<std::string>(brachy);
    if (!written) return "";  // a dialektos whose names do not all lead back to their sims
    const Result<ParsedDocument> reread = parse_text(*written, path);
    if (!reread) {
        return name + " does not parse: " + failure_text(reread.error()) + "\n" + quoted(name, *written);
    }
    if (comparable(reread->document) != comparable(parsed.document)) {
        return name + " reads back to another tree\n" + quoted(name, *written) +
               quoted("tree of the input", dump(comparable(parsed.document))) +
               quoted("tree of " + name, dump(comparable(reread->document)));
    }
    if (plero && without_enlexis_cuts(brachy_of(*reread, path)) != without_enlexis_cuts(brachy)) {
        return "brachy of " + name + " differs from brachy\n" + quoted(name, *written) +
               quoted("brachy of it", brachy_of(*reread, path));
    }
    const Result<std::string> again = plero ? plero_of(*reread, lang, path) : brachy_of(*reread, path);
    if (std::string failed = fixed_point_failure(name, *written, again); !failed.empty()) {
        return failed + quoted(name, *written);
    }
    return "";
}

// The module writes plero block by block as the parse goes: the same text as
// render_plero of the parsed tree, or the same error.
inline std::string streamed_plero_failure(const ParsedDocument& parsed, std::string_view text,
                                          std::optional<std::string_view> lang, std::string_view path) {
    const Result<std::string> whole = plero_of(parsed, lang, path);
    const Result<std::optional<std::string>> streamed = write_plero(text, path, lang);
    const std::string expected = whole ? *whole : "error: " + failure_text(whole.error());
    const std::string answered = !streamed ? "error: " + failure_text(streamed.error())
                                 : streamed->has_value() ? **streamed
                                                         : "a definition file";
    if (expected == answered) return "";
    return "plero written as the parse goes differs\n" + quoted("input", text) + quoted("plero", expected) +
           quoted("streamed", answered);
}

// brachy and plero (without a language and with each of the dialektos's
// glossae) of `text`, when it is a document.
// Validation keeps no inline content: it must still answer, and fail with
// the same error, as the parse that keeps the tree.
inline std::string validation_failure(std::string_view text, std::string_view path) {
    const Result<ParsedInput> full = parse_input(text, path);
    const Result<InputKind> validated = check_input(text, path);
    const std::string expected = full ? "ok" : failure_text(full.error());
    const std::string answered = validated ? "ok" : failure_text(validated.error());
    if (expected == answered) return "";
    return "check answers otherwise than the parse\n" + quoted("input", text) + quoted("parse", expected) +
           quoted("check", answered);
}

// The outline built as the parse goes must be the outline of the whole
// parsed tree, or fail alike.
inline std::string streamed_outline_failure(std::string_view text, std::string_view path) {
    const std::string normalized = unicode::nfc(text);
    const Result<ParsedDocument> parsed = parse_document_for_outline(normalized, path);
    const Result<Outline> streamed = outline_document(normalized, path);
    if (!parsed || !streamed) {
        const std::string expected = parsed ? "an outline" : failure_text(parsed.error());
        const std::string answered = streamed ? "an outline" : failure_text(streamed.error());
        if (expected == answered) return "";
        return "the outline fails otherwise as the parse goes\n" + quoted("input", text) +
               quoted("whole", expected) + quoted("streamed", answered);
    }
    if (*streamed == build_outline(parsed->document, parsed->outline_records, normalized, parsed->dialektos)) {
        return "";
    }
    return "the outline built as the parse goes differs\n" + quoted("input", text);
}

inline RoundTrip check_document(std::string_view text, std::string_view path) {
    if (std::string failure = validation_failure(text, path); !failure.empty()) return {true, failure};
    if (std::string failure = streamed_outline_failure(text, path); !failure.empty()) return {true, failure};
    const Result<ParsedDocument> parsed = parse_text(text, path);
    if (!parsed) return {};
    const std::string brachy = brachy_of(*parsed, path);
    // The module writes brachy block by block as the parse goes: the same text.
    const Result<std::optional<std::string>> streamed = write_brachy(text, path);
    if (!streamed || !streamed.value() || *streamed.value() != brachy) {
        std::string failure = "brachy written as the parse goes differs";
        failure += quoted("input", text) + quoted("brachy", brachy);
        if (streamed && streamed.value()) failure += quoted("streamed", *streamed.value());
        return {true, failure};
    }
    std::vector<std::optional<std::string_view>> langs = {std::nullopt};
    for (const auto& [lang, glossa] : parsed->dialektos.glossae) langs.emplace_back(lang);
    std::string failure = spelling_failure(*parsed, brachy, false, std::nullopt, path);
    for (std::size_t i = 0; i < langs.size() && failure.empty(); ++i) {
        failure = streamed_plero_failure(*parsed, text, langs[i], path);
        if (failure.empty()) failure = spelling_failure(*parsed, brachy, true, langs[i], path);
    }
    if (!failure.empty()) failure += quoted("input", text) + quoted("brachy", brachy);
    return {true, failure};
}

// An imported tree written whole, with its target dialektos from the
// standard library (the user-defined target spelled as endo spells it).
inline Result<std::string> write_imported(const Document& imported) {
    const Result<Dialektos> target = import_target_dialektos(imported.dialektos);
    if (!target) return target.error();
    return write_document(imported, &target.value());
}

// An imported tree, written as the module's endo writes it: the text must
// be a document that brachy gives back unchanged. `path` places the text in
// a directory that shadows no standard dialektos.
inline std::string check_import(const Document& imported, std::string_view path) {
    const Result<std::string> written = write_imported(imported);
    if (!written) return "target dialektos: " + failure_text(written.error()) + "\n";
    const Result<ParsedDocument> parsed = parse_text(*written, path);
    if (!parsed) return "import does not parse: " + failure_text(parsed.error()) + "\n" + quoted("written", *written);
    const std::string brachy = brachy_of(*parsed, path);
    if (brachy != *written) return "import is no fixed point of brachy\n" + quoted("written", *written) +
                                   quoted("brachy", brachy);
    return "";
}

using StreamingImporter = Status (*)(std::string_view text, ImportSink& sink);

// An import of `source` as the module's endo does it, each block written as
// the importer hands it over: the same text as the tree the importer gives
// a DocumentCollector, written whole, which must pass check_import.
inline std::string check_streamed_import(StreamingImporter importer, std::string_view source,
                                         std::string_view path) {
    DocumentCollector collector;
    if (Status imported = importer(source, collector); !imported) {
        return "import fails: " + failure_text(imported.error()) + "\n";
    }
    const Document imported = std::move(collector).document();
    if (std::string failure = check_import(imported, path); !failure.empty()) return failure;
    ImportWriter writer(source.size());
    if (Status streamed = importer(source, writer); !streamed) {
        return "streamed import fails: " + failure_text(streamed.error()) + "\n";
    }
    const std::string streamed = std::move(writer).finish();
    const std::string whole = write_imported(imported).value();
    if (streamed != whole) {
        return "import written as it streams differs\n" + quoted("whole", whole) + quoted("streamed", streamed);
    }
    return "";
}

// The canonical serialization of a dialektos read back as a definition
// file: the same sims and vocabularies, and the same text once serialized.
inline std::string check_serialization(const Dialektos& dialektos) {
    const std::string text = serialize_dialektos(dialektos);
    const Result<Dialektos> again = resolve_from_sources(MemorySource({{"x.lektos", text}}), "x");
    if (!again) return "serialization does not read back: " + failure_text(again.error()) + "\n" + quoted("text", text);
    if (again->sims != dialektos.sims || again->vocabularies != dialektos.vocabularies) {
        return "serialization reads back to another dialektos\n" + quoted("text", text) +
               quoted("serialized again", serialize_dialektos(*again));
    }
    return fixed_point_failure("serialization", text, serialize_dialektos(*again));
}

}  // namespace ilvex::testing
