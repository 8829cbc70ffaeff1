#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "dialektos/memory_source.hpp"
#include "dialektos/resolution.hpp"
#include "dialektos/serialization.hpp"
#include "dialektos/std_library.hpp"
#include "std_contents.hpp"

namespace ilvex {
namespace {

using testing::in_words;
using testing::std_contents;
using testing::StdContents;
using testing::StdSim;

using Files = std::map<std::string, std::string>;
using Terms = std::set<std::string>;
using Aliases = std::map<std::string, std::set<std::string>>;

Dialektos resolved(std::string_view id) {
    auto d = resolve_from_sources(MemorySource(), id);
    EXPECT_TRUE(d) << id << ": " << (d ? "" : error_message(d.error()));
    return d ? std::move(*d) : Dialektos{};
}

// The sim in the shape of the contents table: name, ostensive definition with
// " / " between its lines, parent and genos vocabulary.
std::string summary(const SimDef& sim) {
    std::string ostensive;
    append_ostensive(ostensive, sim);
    ostensive.pop_back();
    std::string out = sim.name + ": ";
    for (const char c : ostensive) out += c == '\n' ? std::string(" / ") : std::string(1, c);
    if (sim.parent) out += "; parent " + *sim.parent;
    if (sim.genos_vocabulary) out += "; genos " + *sim.genos_vocabulary;
    return out;
}

void expect_description(const std::optional<std::string>& actual, const char* expected, std::string_view what) {
    if (expected == nullptr) {
        EXPECT_FALSE(actual) << what;
    } else if (expected == in_words) {
        EXPECT_TRUE(actual && !actual->empty()) << what;
    } else {
        EXPECT_EQ(actual, std::optional<std::string>(expected)) << what;
    }
}

std::set<std::string> symbols_of(const Dialektos& d) {
    std::set<std::string> symbols;
    for (const auto& entry : d.sims) symbols.insert(entry.first);
    return symbols;
}

TEST(StdDefinitions, TheTableCoversTheLibrary) {
    std::vector<std::string> ids;
    for (const StdContents& contents : std_contents()) {
        ids.emplace_back(contents.id);
        EXPECT_EQ(contents.sims.size(), contents.sim_count) << contents.id;
    }
    EXPECT_EQ(ids, std_dialektos_ids());
}

TEST(StdDefinitions, ImportsSimCountsAndVocabularyNames) {
    for (const StdContents& contents : std_contents()) {
        const Dialektos d = resolved(contents.id);
        EXPECT_EQ(d.imports, contents.imports) << contents.id;
        EXPECT_EQ(d.sims.size(), contents.sim_count) << contents.id;
        std::set<std::string> names;
        for (const auto& entry : d.vocabularies) names.insert(entry.first);
        EXPECT_EQ(names, contents.vocabularies) << contents.id;
    }
}

TEST(StdDefinitions, EverySimAsWritten) {
    for (const StdContents& contents : std_contents()) {
        const Dialektos d = resolved(contents.id);
        std::set<std::string> listed;
        for (const StdSim& row : contents.sims) {
            const std::string where = std::string(contents.id) + " `" + row.symbol + "`";
            listed.insert(row.symbol);
            const auto found = d.sims.find(std::string_view(row.symbol));
            if (found == d.sims.end()) {
                ADD_FAILURE() << where << ": missing";
                continue;
            }
            EXPECT_EQ(found->second.symbol, row.symbol) << where;
            EXPECT_EQ(summary(found->second), row.sim) << where;
            expect_description(found->second.short_description, row.short_description, where + " short");
            expect_description(found->second.long_description, row.long_description, where + " long");
        }
        EXPECT_EQ(symbols_of(d), listed) << contents.id;
    }
}

// Every sim mirrors brackets in its episim but the few whose written episim
// is the plain reversal of a bracket.
TEST(StdDefinitions, PlainEpisimsAreTheNamedOnes) {
    for (const StdContents& contents : std_contents()) {
        std::set<std::string> plain;
        for (const auto& [symbol, sim] : resolved(contents.id).sims) {
            if (!sim.mirrored) plain.insert(symbol);
        }
        EXPECT_EQ(plain, contents.plain_episims) << contents.id;
    }
}

// litogramma's four imports are whole: each of their sims is in it unchanged.
TEST(StdDefinitions, LitogrammaHoldsItsImportsWhole) {
    const Dialektos litogramma = resolved("litogramma");
    std::size_t imported = 0;
    for (const char* id : {"koine", "il-prosa", "il-poesia", "il-drama"}) {
        for (const auto& [symbol, sim] : resolved(id).sims) {
            ++imported;
            const auto found = litogramma.sims.find(symbol);
            ASSERT_NE(found, litogramma.sims.end()) << id << " `" << symbol << "`";
            EXPECT_EQ(found->second, sim) << id << " `" << symbol << "`";
        }
    }
    EXPECT_EQ(imported, 50u);
}

std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        if (end > start) out.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

Terms terms_of(const Vocabulary& vocabulary) {
    Terms terms;
    for (const auto& entry : vocabulary) terms.insert(entry.first);
    return terms;
}

Terms terms_in(std::string_view list) {
    const auto all = words(list);
    return Terms(all.begin(), all.end());
}

std::size_t alias_count(const Vocabulary& vocabulary) {
    std::size_t count = 0;
    for (const auto& entry : vocabulary) count += entry.second.size();
    return count;
}

// A vocabulary without aliases, from its space-separated terms.
Vocabulary bare(std::string_view list) {
    Vocabulary vocabulary;
    for (const std::string& term : words(list)) vocabulary[term];
    return vocabulary;
}

// "a (x, y); b; c (z)": each term with the aliases in its parentheses.
Aliases named_aliases(std::string_view list) {
    Aliases out;
    std::size_t start = 0;
    while (start < list.size()) {
        const std::size_t end = std::min(list.find("; ", start), list.size());
        const std::string_view item = list.substr(start, end - start);
        const std::size_t open = item.find(" (");
        std::set<std::string>& aliases = out[std::string(item.substr(0, open))];
        if (open != std::string_view::npos) {
            std::string inside(item.substr(open + 2, item.size() - open - 3));
            for (std::string& alias : words(inside)) {
                if (alias.ends_with(',')) alias.pop_back();
                aliases.insert(alias);
            }
        }
        start = end + 2;
    }
    return out;
}

void expect_aliases_present(const Vocabulary& vocabulary, const Aliases& expected, std::string_view name) {
    for (const auto& [term, aliases] : expected) {
        const auto found = vocabulary.find(term);
        ASSERT_NE(found, vocabulary.end()) << name << ": " << term;
        for (const std::string& alias : aliases) {
            EXPECT_TRUE(found->second.contains(alias)) << name << ": " << term << " lacks " << alias;
        }
    }
}

TEST(StdVocabularies, Tei) {
    const std::map<std::string, Vocabulary, std::less<>> expected = {
        {"divisions", bare("front back book part chapter section subsection act scene dedication preface foreword "
                           "afterword appendix colophon prologue epilogue index glossary bibliography")},
        {"phrases", bare("emph hi foreign term mentioned socalled said q persname placename orgname name rs date "
                         "time num measure title gloss distinct abbr expan sic corr reg orig add del unclear "
                         "supplied seg code formula")},
        {"blocks", bare("teiheader text quote cit epigraph argument stage postscript salute signed opener closer "
                        "trailer dateline byline address floatingtext formula")},
        {"fields", bare("title author editor translator publisher pubplace date idno extent edition series "
                        "language source funder sponsor licence note")},
        {"notes", bare("foot end margin inline gloss editorial")},
        {"milestones", bare("lb pb cb milestone")},
        {"lists", bare("ordered bulleted simple gloss castlist")},
    };
    const Dialektos tei = resolved("il-tei");
    EXPECT_EQ(tei.vocabularies, expected);
    const std::map<std::string, std::size_t> sizes = {{"divisions", 20}, {"phrases", 33}, {"blocks", 18},
                                                      {"fields", 17},    {"notes", 6},    {"milestones", 4},
                                                      {"lists", 5}};
    for (const auto& [name, size] : sizes) EXPECT_EQ(expected.at(name).size(), size) << name;
}

TEST(StdVocabularies, Usfm) {
    const Dialektos usfm = resolved("il-usfm");
    ASSERT_EQ(usfm.vocabularies.size(), 4u);

    Vocabulary markers = bare("h toc1 toc2 toc3 mt1 mt2 mt3 ms1 ms2 mr s1 s2 s3 r d sp qa ip is1 pc m mi pi1 nb po "
                              "lit li1 ili1 cl cp");
    for (const auto& [term, alias] : std::map<std::string, std::string>{
             {"mt1", "mt"}, {"ms1", "ms"}, {"s1", "s"}, {"is1", "is"}, {"pi1", "pi"}, {"li1", "li"}, {"ili1", "ili"}}) {
        markers[term].insert(alias);
    }
    EXPECT_EQ(markers.size(), 30u);
    EXPECT_EQ(usfm.vocabularies.at("markers"), markers);
    EXPECT_EQ(usfm.vocabularies.at("chars"), bare("wj nd add em bd it sc no qs qt tl k w sig bk fr xo"));
    EXPECT_EQ(usfm.vocabularies.at("notes"),
              (Vocabulary{{"f", {"footnote"}}, {"fe", {"endnote"}}, {"x", {"cross-reference", "crossreference"}}}));

    const Vocabulary& books = usfm.vocabularies.at("books");
    EXPECT_EQ(terms_of(books),
              terms_in("gen exo lev num deu jos jdg rut 1sa 2sa 1ki 2ki 1ch 2ch ezr neh est job psa pro ecc sng isa "
                       "jer lam ezk dan hos jol amo oba jon mic nam hab zep hag zec mal mat mrk luk jhn act rom 1co "
                       "2co gal eph php col 1th 2th 1ti 2ti tit phm heb jas 1pe 2pe 1jn 2jn 3jn jud rev tob jdt esg "
                       "wis sir bar lje s3y sus bel 1ma 2ma 3ma 4ma 1es 2es man ps2 oda pss dag"));
    EXPECT_EQ(books.size(), 87u);
    EXPECT_EQ(alias_count(books), 162u);
    expect_aliases_present(books,
                           named_aliases("gen (genesis); exo (exodus, exod); 1sa (1-samuel, first-samuel, 1sam); "
                                         "psa (psalms, psalm, psalter, ps); "
                                         "sng (song-of-songs, song-of-solomon, song, canticles); "
                                         "rev (revelation, apocalypse)"),
                           "books");
    ASSERT_TRUE(books.contains("job"));
    EXPECT_TRUE(books.at("job").empty());
}

TEST(StdVocabularies, Bibliogramma) {
    const Dialektos bibliogramma = resolved("bibliogramma");
    ASSERT_EQ(bibliogramma.vocabularies.size(), 2u);

    const Aliases genera_named = named_aliases(
        "commentarius (article); liber (book); libellus (booklet); collectio (collection); membrum (incollection); "
        "acta (proceedings); relatio (conference, inproceedings); renuntiatio (report, techreport); enchiridion "
        "(manual); miscellanea (misc); interretialis (electronic, online, www); diploma (patent); periodicum "
        "(periodical); dissertatio (mastersthesis, phdthesis, thesis); ineditum (unpublished); data (dataset); "
        "programma (software); liber-multiplex (mvbook); pars-libri (inbook); liber-in-libro (bookinbook); "
        "supplementum-libri (suppbook); collectio-multiplex (mvcollection); supplementum-collectionis "
        "(suppcollection); acta-multiplex (mvproceedings); supplementum-periodici (suppperiodical); thesaurus "
        "(reference); thesaurus-multiplex (mvreference); pars-thesauri (inreference); complexus (set); xdata; "
        "artificium (artwork); audio; pellicula (movie); video; musica (music); spectaculum (performance); "
        "epistula (letter); recensio (review); norma (standard); lex (legislation); iudicium (jurisdiction); "
        "iuridicum (legal); scholia (commentary); imago (image)");
    const Vocabulary& genera = bibliogramma.vocabularies.at("genera");
    ASSERT_EQ(genera_named.size(), 44u);
    EXPECT_EQ(genera.size(), 44u);
    EXPECT_EQ(alias_count(genera), 799u);
    expect_aliases_present(genera, genera_named, "genera");
    expect_aliases_present(genera, {{"liber", {"boek", "book", "buch", "libro", "livre"}}}, "genera");
    EXPECT_EQ(genera.at("liber").size(), 33u);

    const Aliases campi_named = named_aliases(
        "auctor (author); editor; interpres (translator); titulus (title); subtitulus (subtitle); ephemeris "
        "(journal, journaltitle); titulus-libri (booktitle); annus (year); datum (date); volumen (volume); numerus "
        "(number); paginae (pages); editio (edition); series; officina (publisher); locus (address, location); "
        "institutum (institution, school); capitulum (chapter); genus (type); lingua (language); nota (note); "
        "summarium (abstract); doi; url; isbn; issn; titulus-operis (maintitle); subtitulus-operis (mainsubtitle); "
        "additamentum-tituli (titleaddon); additamentum-tituli-operis (maintitleaddon); additamentum-tituli-libri "
        "(booktitleaddon); subtitulus-libri (booksubtitle); titulus-brevis (shorttitle); titulus-originis "
        "(origtitle); titulus-fasciculi (issuetitle); subtitulus-fasciculi (issuesubtitle); subtitulus-ephemeridis "
        "(journalsubtitle); auctor-libri (bookauthor); annotator; commentator; praefatio (foreword); postfatio "
        "(afterword); introductio (introduction); possessor (holder); societas (organization); titulus-eventus "
        "(eventtitle); datum-eventus (eventdate); sedes (venue); fasciculus (issue); mensis (month); datum-originis "
        "(origdate); lingua-originis (origlanguage); locus-originis (origlocation); officina-originis "
        "(origpublisher); status-editionis (pubstate); pars (part); volumina (volumes); summa-paginarum "
        "(pagetotal); paginatio (pagination); paginatio-libri (bookpagination); versio (version); addendum; "
        "annotatio (annotation); bibliotheca (library); modus (howpublished); claves (keywords); sigla "
        "(shorthand); eid; eprint; langid; genus-eprint (eprinttype); classis-eprint (eprintclass); datum-url "
        "(urldate); isan; ismn; isrn; iswc");
    const Vocabulary& campi = bibliogramma.vocabularies.at("campi");
    ASSERT_EQ(campi_named.size(), 77u);
    EXPECT_EQ(campi.size(), 77u);
    EXPECT_EQ(alias_count(campi), 1017u);
    expect_aliases_present(campi, campi_named, "campi");
    expect_aliases_present(campi, {{"auctor", {"auteur", "author", "authors", "autor"}}}, "campi");
    EXPECT_EQ(campi.at("auctor").size(), 26u);

    // The terms are exactly the named ones.
    Terms genera_terms, campi_terms;
    for (const auto& entry : genera_named) genera_terms.insert(entry.first);
    for (const auto& entry : campi_named) campi_terms.insert(entry.first);
    EXPECT_EQ(terms_of(genera), genera_terms);
    EXPECT_EQ(terms_of(campi), campi_terms);
}

// An alias names one term: a second claim would make a genos or lemma
// ambiguous.
TEST(StdVocabularies, NoAliasUnderTwoTerms) {
    for (const StdDefinition& standard : std_definitions()) {
        for (const auto& [name, vocabulary] : resolved(standard.id).vocabularies) {
            std::map<std::string, std::string> owner;
            for (const auto& [term, aliases] : vocabulary) {
                for (const std::string& alias : aliases) {
                    const auto [it, fresh] = owner.emplace(alias, term);
                    EXPECT_TRUE(fresh) << standard.id << " " << name << ": `" << alias << "` under `" << it->second
                                       << "` and `" << term << "`";
                }
            }
        }
    }
}

// The 1-based number of the first line of `text` equal to `line`, or 0.
std::size_t line_number(std::string_view text, std::string_view line) {
    std::size_t number = 1;
    for (std::size_t start = 0; start < text.size(); ++number) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (text.substr(start, end - start) == line) return number;
        start = end + 1;
    }
    return 0;
}

TEST(StdDefinitions, LocalFileShadowsAStandardImport) {
    // An il-html without "/" breaks the import of "/" in il-markdown, which
    // is reported in the standard text at that import line.
    const std::size_t line = line_number(find_std_definition("il-markdown")->text, "@@::il-html::/ *");
    ASSERT_NE(line, 0u);
    const auto broken = resolve_from_sources(
        MemorySource(Files{{"il-html.dia", "@@@!ilvex\n@=== strong\n@! grammata !@\n===@\n"}}), "il-markdown");
    ASSERT_FALSE(broken);
    EXPECT_EQ(error_message(broken.error()),
              "std:/il-markdown.dia:" + std::to_string(line) + ":1: undefined sim `/`");

    // An il-html that has "/" gives il-markdown its sim under "*".
    const std::string html = "@@@!ilvex\n@=== italic\n@/ grammata /@\n===@\n@=== strong\n@! grammata !@\n===@\n";
    const auto replaced = resolve_from_sources(MemorySource(Files{{"il-html.dia", html}}), "il-markdown");
    ASSERT_TRUE(replaced) << error_message(replaced.error());
    EXPECT_EQ(symbols_of(*replaced), (std::set<std::string>{"*", "**", "^"}));
    EXPECT_EQ(replaced->sims.at("*").name, "italic");
}

}  // namespace
}  // namespace ilvex
