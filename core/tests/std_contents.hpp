// The contents of the fourteen standard dialektoi, written out sim by sim so
// that a change to a standard text (a symbol, a form, a parent, a
// description) shows up as a failing row. The importers write these symbols,
// so they must not drift.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "dialektos/model.hpp"

namespace ilvex::testing {

// Marks a description that the standard text words freely: only its presence
// is checked.
inline constexpr const char in_words[] = "(worded freely)";

struct StdSim {
    const char* symbol;
    // The name, the ostensive definition with its lines joined by " / ", then
    // "; parent " and the parent, "; genos " and the genos vocabulary.
    const char* sim;
    const char* short_description;  // null: none; in_words: any text
    const char* long_description;   // null: none; in_words: any text
};

struct StdContents {
    std::string_view id;
    std::vector<DialektosImport> imports;
    std::size_t sim_count;
    std::vector<StdSim> sims;
    std::set<std::string> plain_episims;  // symbols whose episim is not mirrored
    std::set<std::string> vocabularies;
};

inline std::vector<StdSim> koine_sims() {
    return {
        {"=", "title: @= grammata =@", "text title",
         "Required. Must be the first content element of a document,\n"
         "standing alone as a paragraph. One per document."},
        {"=_", "subtitle: @=_ grammata _=@", "text subtitle", nullptr},
        {"=:", "author: @=: grammata :=@", "author name; one sim per author, each its own paragraph", nullptr},
        {"=;", "editor: @=; grammata ;=@", "editor name",
         "Editor name; one sim per editor. For works that have an editor\n"
         "rather than an author (dictionaries, anthologies), or in\n"
         "addition to authors when the editorial role is significant\n"
         "(critical editions)."},
        {"#", "section: @#[(taxis)] lemma / grammata / #@", "section", nullptr},
        {"##", "subsection: @##[(taxis)] lemma / grammata / ##@; parent #", "subsection", nullptr},
        {"###", "subsubsection: @###[(taxis)] lemma / grammata / ###@; parent ##", "subsubsection", nullptr},
        {"#_", "run-in-heading: @#_ grammata _#@", "run-in heading (milepost, outside the ToC hierarchy)",
         "Endo-simmere that must start a paragraph and must end with a\n"
         "punctuation mark; paragraph text follows on the same line."},
        {"**", "section-break: @** grammata **@", "section break (asterism / dinkus)",
         "TENTATIVE symbol. Stands alone as a paragraph; canonical\n"
         "grammata is the literal three-asterisk asterism. A structural\n"
         "separation within a chapter, typeset as a rule or ornament."},
        {"/", "emphasis: @/ grammata /@", "emphasis (italic)", nullptr},
        {"*", "strong: @* grammata *@", "strong (bold)", nullptr},
        {"*/", "strong-emphasis: @*/ grammata /*@", "strong emphasis (bold italic)", nullptr},
        {",", "annotation: @, grammata ,@", "semantic annotation carrier",
         "General-purpose inline span whose meaning is given by a genos\n"
         "on the episim; a genos is expected, though genoses cannot be\n"
         "formally required by a dialect definition."},
        {"--", "unordered-list: @-- / grammata / --@", "unordered list; grammata is a sequence of unordered-item",
         nullptr},
        {"-", "unordered-item: @- / grammata / -@; parent --", "unordered list item", nullptr},
        {"..", "ordered-list: @.. / grammata / ..@", "ordered list",
         "Ordered list; grammata is a sequence of ordered-item. Item\n"
         "taxes must be consistent (one ordinal category per list) and\n"
         "sequential without skips; the list may start at any value."},
        {".-", "ordered-item: @.-(taxis) / grammata / -.@; parent ..", "ordered list item",
         "TENTATIVE symbol (the plain period belongs to the ordinal\n"
         "sim)."},
        {"::;", "definition-list: @::; / grammata / ;::@",
         "definition list; grammata is a sequence of definition-item", nullptr},
        {"::", "definition-item: @:: lemma / grammata / ::@; parent ::;",
         "definition list item; the lemma is the term being defined", nullptr},
        {";", "definition: @; / grammata / ;@; parent ::", "a single definition within a definition-item", nullptr},
        {"^", "footnote: @^ / grammata / ^@", "footnote definition; onymized on the episim, attached by deixis",
         nullptr},
        {"\"", R"(blockquote: @" / grammata / "@ [hypograph])", "block quotation; the hypograph is the attribution",
         nullptr},
        {"\"\"", R"(quotation: @"" grammata ""@)", "inline quotation; genos-refinable (.said for speech)", in_words},
        {">", "ref: @>(onym)", "cross-reference to an onym; renders the target's lemma", nullptr},
        {"><", "link: @>< grammata ><@", "hyperlink; the grammata is the displayed URL", in_words},
    };
}

inline std::vector<StdSim> prosa_sims() {
    return {
        {"==", "part: @==[(taxis)] lemma / grammata / ==@", "text part (highest structural division)", nullptr},
        {"===", "chapter: @===[(taxis)] lemma / grammata / ===@", "chapter; may appear without a parent part",
         nullptr},
        {"####", "subsubsubsection: @####[(taxis)] lemma / grammata / ####@; parent ###", "subsubsubsection",
         nullptr},
        {".", "ordinal: @. grammata .@", "in-text ordinal display",
         "The grammata is a numeric ordinal (representative form:\n"
         "Arabic decimal), an alphabetic ordinal (representative form:\n"
         "uppercase ASCII Latin), or a period-separated hierarchical\n"
         "compound of either. The typesetter renders the representative\n"
         "form in any number system or alphabet. Distinct from taxis:\n"
         "taxis positions a simmere in a sequence; the ordinal sim\n"
         "displays an ordinal inside running text or a lemma, preserving\n"
         "the no-text-insertion rule."},
        {"=\"", R"(abstract: @=" / grammata / "=@)", "abstract; concludes the top matter", nullptr},
        {"=#=", "toc: @=#=(depth)", "table of contents directive",
         "Monosim. The parameter is the maximum heading depth to\n"
         "include, or \"all\". Placement directive only: the table itself\n"
         "is generated by the typesetter."},
        {"\"/", R"(epigraph: @"/ / grammata / /"@ [hypograph])", "epigraph; the hypograph is the attribution",
         nullptr},
        {"|", "aside: @| / grammata / |@", "aside definition; onymized on the episim, genos-refinable", nullptr},
        {"^^", "chapter-endnote: @^^ / grammata / ^^@", "chapter endnote definition; onymized on the episim",
         nullptr},
        {"^^^", "endnote: @^^^ / grammata / ^^^@", "endnote definition; onymized on the episim", nullptr},
        {"%", "index: @% grammata %@", "index entry, visible (TENTATIVE symbol)",
         "The grammata is the index path; sub-entries are separated by\n"
         "right angle brackets, and the last segment is displayed."},
        {"%%", "index-hidden: @%%(keyword)", "index entry, hidden (TENTATIVE; multi-word keys hyphenated)",
         nullptr},
    };
}

inline std::vector<StdSim> poesia_sims() {
    return {
        {"~", "verse: @~ [lemma] / stichos / ~@ [hypograph]", "verse block",
         "Stichoi grammata: line breaks are significant, blank lines\n"
         "separate strophes, leading spaces are authorial content. The\n"
         "lemma is the poem title (omit for untitled poems); the\n"
         "hypograph is the composition date or attribution."},
        {"-/", "composition-date: @-/ grammata /-@", "composition date at the end of stories or letters",
         "Own paragraph. Poems use the verse hypograph instead."},
    };
}

inline std::vector<StdSim> drama_sims() {
    return {
        {":=", "act: @:=[(taxis)] [lemma] / grammata / =:@", "drama act", nullptr},
        {":#", "scene: @:#[(taxis)] [lemma] / grammata / #:@", "drama scene", nullptr},
        {":", "dialogue: @: lemma / grammata / :@", "drama dialogue; the lemma is the speech prefix", nullptr},
        {":~", "verse-dialogue: @:~ lemma / stichos / ~:@", in_words, nullptr},
        {":!", "dramatis-persona: @:! grammata !:@", "dramatis personae entry, bare (name only), own paragraph",
         nullptr},
        {":!!", "character: @:!! lemma / grammata / !!:@",
         "dramatis personae entry with description (TENTATIVE symbol)",
         "The lemma is the character name; the grammata is the\n"
         "description, possibly multi-paragraph."},
        {":(", "stage-direction: @:( grammata ):@", "inline stage direction; also the action beat in prose",
         nullptr},
        {":[", "stage-direction-block: @:[ / grammata / ]:@", "block stage direction", nullptr},
        {":-", "dialogue-line: @:- grammata -:@", "prose-fiction dialogue line, own paragraph",
         "Semantic marker only; quotation marks or leading em-dashes are\n"
         "entered by the author per the language's convention."},
        {":_", "dialogue-tag: @:_ grammata _:@; parent :-", "dialogue tag (attribution) within a dialogue line",
         "Includes trailing punctuation, excludes leading punctuation."},
        {":.", "pause: @:. grammata .:@", "dramatic pause (TENTATIVE symbol)",
         "Stands alone as a paragraph in drama and prose; canonical\n"
         "grammata is a literal ellipsis. Local, unlike the structural\n"
         "section-break. Genoses may refine typesetting."},
    };
}

// litogramma's own sim blocks; the rest of it is koine, il-prosa, il-poesia
// and il-drama.
inline std::vector<StdSim> litogramma_own_sims() {
    return {
        {"$", "math: @$ grammata $@", "inline math (LaTeX-style content)", nullptr},
        {"$$", "math-block: @$$[(taxis)] / grammata / $$@", "display math; taxis present iff the equation is numbered",
         nullptr},
        {"^!", "manuscript-note: @^! / grammata / !^@", "manuscript note definition; onymized on the episim",
         "Critical-edition apparatus or editorial-process annotation;\n"
         "not part of the Text itself."},
        {"<", "figure: @<[(taxis)] [lemma] / grammata / <@",
         "figure; grammata is an enmedia inclusion plus the caption", in_words},
        {"+", "table: @+[(taxis)] [lemma] / stichos / +@ [hypograph]", in_words,
         "Stichoi grammata: one row per stichos, cells separated by\n"
         "pipes, a dash-run stichos separating a header row. The\n"
         "hypograph is the caption. Multi-paragraph cells are not\n"
         "supported."},
        {"_", "container: @_[(taxis)] [lemma] / grammata / _@", "generic semantic container; kind given by a genos",
         nullptr},
        {"_=", "theorema: @_=[(taxis)] [lemma] / grammata / =_@", "theorem container", nullptr},
        {"_-", "propositio: @_-[(taxis)] [lemma] / grammata / -_@", "proposition container", nullptr},
        {"_:", "lemma: @_:[(taxis)] [lemma] / grammata / :_@", "lemma container (the mathematical statement kind)",
         nullptr},
        {"_/", "demonstratio: @_/[(taxis)] [lemma] / grammata / /_@", "proof container", nullptr},
        {">>", "heading-ref: @>>(onym)", "reference to the closest enclosing heading of an onym",
         "An explicit level prefix restricts the heading level, colon-\n"
         "separated inside the parameter."},
        {">>>", "page-ref: @>>>(onym)", "page-number reference", nullptr},
        {">>>>", "line-ref: @>>>>(onym)", "line-number reference (critical editions)", nullptr},
        {">[", "cite: @>[(key)", in_words,
         "The parameter is a citation key resolved against bibliogramma\n"
         "entries (the ilvex-based, BibTeX-isomorphic reference\n"
         "extension defined beside this dialektos): an entry whose lemma\n"
         "equals the key, embedded in the document as a bibliogramma\n"
         "englossis block or carried alongside it. Exports pair through\n"
         "associated exos - the LaTeX exo routes embedded bibliogramma\n"
         "content into the companion .bib."},
        {">:", "standards-ref: @>: grammata :>@", "standards reference, rendered as-is (ISO, GOST, case law)",
         "A citation-like reference so universally recognized in context\n"
         "that it needs no bibliography entry."},
    };
}

inline std::vector<StdSim> litogramma_sims() {
    std::vector<StdSim> sims;
    for (auto part : {koine_sims(), prosa_sims(), poesia_sims(), drama_sims(), litogramma_own_sims()}) {
        sims.insert(sims.end(), part.begin(), part.end());
    }
    return sims;
}

inline std::vector<StdSim> bibliogramma_sims() {
    return {
        {"&", "entry: @& lemma / grammata / &@; genos genera",
         "bibliography entry; lemma is the citation key, genos the genus", nullptr},
        {":", "field: @: lemma=campi / grammata / :@", "entry field; the lemma is the field name (campus)", nullptr},
    };
}

inline std::vector<StdSim> djot_sims() {
    return {
        {"#", "heading-1: @# grammata #@", "level-1 heading; flat, does not nest content", nullptr},
        {"><", "link: @>< grammata ><@", "hyperlink; the grammata is the displayed URL", nullptr},
        {"##", "heading-2: @## grammata ##@", "level-2 heading", nullptr},
        {"###", "heading-3: @### grammata ###@", "level-3 heading", nullptr},
        {"####", "heading-4: @#### grammata ####@", "level-4 heading", nullptr},
        {"#####", "heading-5: @##### grammata #####@", "level-5 heading", nullptr},
        {"######", "heading-6: @###### grammata ######@", "level-6 heading", nullptr},
        {"_", "emphasis: @_ grammata _@", "emphasis (_underscores_)", nullptr},
        {"*", "strong: @* grammata *@", "strong emphasis (*stars*)", nullptr},
        {">", "blockquote: @> / grammata / >@", "block quotation (> prefix)", nullptr},
        {"-", "unordered-item: @- / grammata / -@", "bullet list item (- marker); items form flat runs", nullptr},
        {".", "ordered-item: @.(taxis) / grammata / .@", "enumerated list item (N. marker); items form flat runs",
         nullptr},
        {"^", "footnote: @^ / grammata / ^@", "footnote body ([^label]: text); attached by deixis callouts",
         nullptr},
    };
}

inline std::vector<StdSim> docbook_sims() {
    return {
        {"=", "title: @= grammata =@",
         "document title: the article/book/chapter root's title, standing alone as the first paragraph", nullptr},
        {"#", "section: @# lemma / grammata / #@", "section at any depth (title is the lemma); sections nest",
         nullptr},
        {"/", "emphasis: @/ grammata /@", "emphasis element", nullptr},
        {"*", "strong: @* grammata *@", "emphasis role=strong/bold", nullptr},
        {"\"\"", R"(quotation: @"" grammata ""@)", "inline quotation (quote element)", nullptr},
        {"><", "link: @>< grammata ><@", "hyperlink (link element, xlink:href); the grammata is the displayed URL",
         in_words},
        {">", "blockquote: @> / grammata / >@", "blockquote element", nullptr},
        {"!", "note: @! / grammata / !@", "note admonition", nullptr},
        {"!!", "warning: @!! / grammata / !!@", "warning admonition", nullptr},
        {"--", "unordered-list: @-- / grammata / --@", "itemizedlist element", nullptr},
        {"..", "ordered-list: @.. / grammata / ..@", "orderedlist element", nullptr},
        {"-", "list-item: @- / grammata / -@", "listitem element", nullptr},
        {"^", "footnote: @^ / grammata / ^@", "footnote body; the callout deixis marks the anchor", nullptr},
    };
}

inline std::vector<StdSim> html_sims() {
    return {
        {">", "blockquote: @> / grammata / >@", "block quotation (blockquote element)", nullptr},
        {"_", "division: @_ / grammata / _@", "generic block container (div element; genoses map to class)",
         nullptr},
        {"/", "emphasis: @/ grammata /@", "emphasis (em element)", nullptr},
        {"><", "link: @>< grammata ><@", "hyperlink; the grammata is the displayed URL", in_words},
        {"#", "heading-1: @# grammata #@", "level-1 heading (h1 element); flat, does not nest content", nullptr},
        {"##", "heading-2: @## grammata ##@", "level-2 heading (h2 element)", nullptr},
        {"###", "heading-3: @### grammata ###@", "level-3 heading (h3 element)", nullptr},
        {"####", "heading-4: @#### grammata ####@", "level-4 heading (h4 element)", nullptr},
        {"#####", "heading-5: @##### grammata #####@", "level-5 heading (h5 element)", nullptr},
        {"######", "heading-6: @###### grammata ######@", "level-6 heading (h6 element)", nullptr},
        {".", "ordered-item: @.(taxis) / grammata / .@", "ordered list item (li element with a value)", nullptr},
        {"..", "ordered-list: @.. / grammata / ..@", "ordered list (ol element)", nullptr},
        {",", "span: @, grammata ,@", "generic inline container (span element; genoses map to class)", nullptr},
        {"!", "strong: @! grammata !@", "strong emphasis (strong element)", nullptr},
        {"~", "verse: @~[(taxis)] [lemma] / stichos / ~@ [hypograph]",
         "line-structured block (verse, or any lined content)", nullptr},
        {"-", "unordered-item: @- / grammata / -@", "unordered list item (li element)", nullptr},
        {"--", "unordered-list: @-- / grammata / --@", "unordered list (ul element)", nullptr},
    };
}

// il-html's sims as il-markdown imports them, with emphasis and strong under
// new symbols, and the footnote of its own.
inline std::vector<StdSim> markdown_sims() {
    return {
        {"#", "heading-1: @# grammata #@", "level-1 heading (h1 element); flat, does not nest content", nullptr},
        {"##", "heading-2: @## grammata ##@", "level-2 heading (h2 element)", nullptr},
        {"###", "heading-3: @### grammata ###@", "level-3 heading (h3 element)", nullptr},
        {"####", "heading-4: @#### grammata ####@", "level-4 heading (h4 element)", nullptr},
        {"#####", "heading-5: @##### grammata #####@", "level-5 heading (h5 element)", nullptr},
        {"######", "heading-6: @###### grammata ######@", "level-6 heading (h6 element)", nullptr},
        {"><", "link: @>< grammata ><@", "hyperlink; the grammata is the displayed URL", in_words},
        {"*", "emphasis: @* grammata *@", "emphasis (em element)", nullptr},
        {"**", "strong: @** grammata **@", "strong emphasis (strong element)", nullptr},
        {">", "blockquote: @> / grammata / >@", "block quotation (blockquote element)", nullptr},
        {"-", "unordered-item: @- / grammata / -@", "unordered list item (li element)", nullptr},
        {".", "ordered-item: @.(taxis) / grammata / .@", "ordered list item (li element with a value)", nullptr},
        {"^", "footnote: @^ / grammata / ^@", "footnote body ([^name]: text); attached by deixis callouts", nullptr},
    };
}

inline std::vector<StdSim> org_sims() {
    return {
        {"#", "heading-1: @# grammata #@", "top-level heading (one star); flat, does not nest content", nullptr},
        {"##", "heading-2: @## grammata ##@", "second-level heading (two stars)", nullptr},
        {"###", "heading-3: @### grammata ###@", "third-level heading (three stars)", nullptr},
        {"####", "heading-4: @#### grammata ####@", "fourth-level heading (four stars)", nullptr},
        {"#####", "heading-5: @##### grammata #####@", "fifth-level heading (five stars)", nullptr},
        {"/", "emphasis: @/ grammata /@", "italic emphasis (/slashes/)", nullptr},
        {"*", "strong: @* grammata *@", "bold emphasis (*stars*)", nullptr},
        {"_", "underline: @_ grammata _@", "underlined run (_underscores_)", nullptr},
        {"+", "strike: @+ grammata +@", "struck-through run (+pluses+)", nullptr},
        {"><", "link: @>< grammata ><@", "hyperlink target ([[...]]); the grammata is the target", nullptr},
        {">", "blockquote: @> / grammata / >@", "quote block (#+BEGIN_QUOTE)", nullptr},
        {"~", "verse: @~ / stichos / ~@", "verse block (#+BEGIN_VERSE); line breaks significant", nullptr},
        {"|", "table: @| / stichos / |@", "pipe table; one row per stichos (cell model pending)", nullptr},
        {"-", "unordered-item: @- / grammata / -@", "bullet list item (- marker); items form flat runs", nullptr},
        {".", "ordered-item: @.(taxis) / grammata / .@", "enumerated list item (N. marker); items form flat runs",
         nullptr},
        {"::", "definition-item: @:: lemma / grammata / ::@",
         "description list item (- term :: text); the lemma is the term", nullptr},
        {"^", "footnote: @^ / grammata / ^@", "footnote definition ([fn:name]); deixis callouts reference it",
         nullptr},
    };
}

inline std::vector<StdSim> rst_sims() {
    return {
        {"#", "heading-1: @# grammata #@", "level-1 heading (= underline); flat, does not nest content", nullptr},
        {"##", "heading-2: @## grammata ##@", "level-2 heading (- underline)", nullptr},
        {"###", "heading-3: @### grammata ###@", "level-3 heading (~ underline)", nullptr},
        {"####", "heading-4: @#### grammata ####@", "level-4 heading (^ underline)", nullptr},
        {"#####", "heading-5: @##### grammata #####@", "level-5 heading (double-quote underline)", nullptr},
        {"######", "heading-6: @###### grammata ######@", "level-6 heading (apostrophe underline)", nullptr},
        {"*", "emphasis: @* grammata *@", "emphasis (*text*)", nullptr},
        {"**", "strong: @** grammata **@", "strong emphasis (**text**)", nullptr},
        {"><", "link: @>< grammata ><@",
         "hyperlink reference with embedded URI; the grammata is the displayed URL", in_words},
        {">", "blockquote: @> / grammata / >@", "block quotation (indented block)", nullptr},
        {"-", "unordered-item: @- / grammata / -@", "bullet list item (- marker); items form flat runs", nullptr},
        {".", "ordered-item: @.(taxis) / grammata / .@", "enumerated list item (N. marker); items form flat runs",
         nullptr},
        {"::", "definition-item: @:: lemma / grammata / ::@", "definition list item; the lemma is the term",
         nullptr},
        {":", "field: @: lemma / grammata / :@", "field list entry (:Name: value); the lemma is the field name",
         nullptr},
        {"!", "note: @! / grammata / !@", "note admonition (.. note::)", nullptr},
        {"!!", "warning: @!! / grammata / !!@", "warning admonition (.. warning::)", nullptr},
        {"^", "footnote: @^ / grammata / ^@", "footnote body (.. [#name]); attached by deixis callouts", nullptr},
    };
}

inline std::vector<StdSim> tei_sims() {
    return {
        {"#", "division: @#[(taxis)] [lemma] / grammata / #@; genos divisions",
         "nested division (div/front/back families); head is the lemma", nullptr},
        {"~", "verse: @~ [lemma] / stichos / ~@ [hypograph]", "line group (lg); the hypograph is an attribution",
         nullptr},
        {":", "speech: @: [lemma] / grammata / :@", "drama speech (sp); the speaker is the lemma", nullptr},
        {":(", "stage-direction: @:( grammata ):@", "inline stage direction", nullptr},
        {"_", "block: @_[(taxis)] [lemma] / grammata / _@ [hypograph]; genos blocks",
         "generic block element; genos names it, bibl rides hypograph", nullptr},
        {",", "phrase: @, grammata ,@; genos phrases", "generic inline element; the genos names it (emph, said, ...)",
         nullptr},
        {"^", "note: @^ / grammata / ^@; genos notes", "note body (deixis callouts mark anchors); genos is the place",
         nullptr},
        {"--", "list: @-- / grammata / --@; genos lists", "list element; the genos is the type", nullptr},
        {"-", "item: @- [lemma] / grammata / -@", "list item; a gloss label rides the lemma", nullptr},
        {"+", "table: @+[(taxis)] [lemma] / stichos / +@", "table; one row per stichos, cells pipe-separated",
         nullptr},
        {"<", "figure: @<[(taxis)] [lemma] / grammata / <@",
         "figure; grammata holds the enmedia, the head is the lemma", nullptr},
        {"><", "link: @>< grammata ><@", "external pointer (ref/ptr with a remote target)", nullptr},
        {">", "ref: @>(target)", "internal pointer to an onymized element", nullptr},
        {"|", "milestone: @|(n); genos milestones", "empty milestone element (lb, pb, cb); the genos names it",
         nullptr},
        {"=", "field: @= lemma=fields / grammata / =@",
         "header field inside the teiheader block; the lemma names it", nullptr},
    };
}

inline std::vector<StdSim> usfm_sims() {
    return {
        {"#", "book: @# lemma=books / grammata / #@", "book division; the lemma is the USFM book code", nullptr},
        {"##", "chapter: @##(n)", "chapter milestone; marks a position in the flow like verses", nullptr},
        {"|", "verse: @|(n)", "verse milestone; text flows across verse boundaries", nullptr},
        {"_", "block: @_ grammata _@; genos markers", "typed one-line block (headings, titles, speakers, refs)",
         nullptr},
        {"~", "poetry: @~ / stichos / ~@", "poetry block; each line wraps in a q-level phrase", nullptr},
        {",", "phrase: @, grammata ,@; genos chars", "character-level span; the genos is the USFM marker", nullptr},
        {"^", "note: @^ grammata ^@; genos notes", "footnote/endnote/cross-reference, inline at its anchor",
         nullptr},
    };
}

inline DialektosImport import_all(std::string id) { return {std::move(id), SelectAll{}}; }

// The fourteen standard dialektoi in table order.
inline std::vector<StdContents> std_contents() {
    const std::set<std::string> none;
    const std::set<std::string> plain_blockquote = {">"};
    return {
        {"il-djot", {}, 13, djot_sims(), plain_blockquote, none},
        {"koine", {}, 25, koine_sims(), none, none},
        {"il-prosa", {}, 12, prosa_sims(), none, none},
        {"il-poesia", {}, 2, poesia_sims(), none, none},
        {"il-drama", {}, 11, drama_sims(), none, none},
        {"il-docbook", {}, 13, docbook_sims(), plain_blockquote, none},
        {"il-html", {}, 17, html_sims(), plain_blockquote, none},
        {"il-markdown",
         {{"il-html", SelectExclude{{"--", "..", ",", "_", "/", "!", "~"}}},
          {"il-html", SelectOne{"/", "*"}},
          {"il-html", SelectOne{"!", "**"}}},
         13,
         markdown_sims(),
         plain_blockquote,
         none},
        {"il-org", {}, 17, org_sims(), plain_blockquote, none},
        {"il-rst", {}, 17, rst_sims(), plain_blockquote, none},
        {"il-tei",
         {},
         15,
         tei_sims(),
         {"<"},
         {"blocks", "divisions", "fields", "lists", "milestones", "notes", "phrases"}},
        {"il-usfm", {}, 7, usfm_sims(), none, {"books", "chars", "markers", "notes"}},
        {"litogramma",
         {import_all("koine"), import_all("il-prosa"), import_all("il-poesia"), import_all("il-drama")},
         65,
         litogramma_sims(),
         {"<", ">:"},
         none},
        {"bibliogramma", {}, 2, bibliogramma_sims(), none, {"campi", "genera"}},
    };
}

}  // namespace ilvex::testing
