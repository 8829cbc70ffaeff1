#include <gtest/gtest.h>

#include "dialektos/error.hpp"

namespace ilvex {
namespace {

struct KindCase {
    Error error;
    const char* text;
};

// One case per kind: every template with a sample payload.
TEST(ErrorMessage, EveryKindHasItsTemplate) {
    using K = ErrorKind;
    const KindCase cases[] = {
        {Error(K::InvalidUtf8), "input is not valid UTF-8"},
        {Error(K::MissingDeclaration), "missing dialektos declaration on the first content line"},
        {Error(K::UnresolvedDialektos, "poems"),
         "cannot resolve dialektos `poems`: no local .lektos/.dia file"},
        {Error(K::InvalidDeclaration, "x"), "invalid dialektos declaration: x"},
        {Error(K::MixedSigils), "mixed sigils in one document"},
        {Error(K::SigilRunTooLong, std::uint64_t{5}), "sigil run of 5 characters (maximum is four)"},
        {Error(K::UndefinedSim, "@xyz"), "undefined sim `@xyz`"},
        {Error(K::UnmatchedSim, "#"), "unmatched sim `#` (episim not found)"},
        {Error(K::UnmatchedEpisim, "#"), "unmatched episim `#`"},
        {Error(K::EndoMimicsPara), "endo-simmere formatted to mimic a para-simmere"},
        {Error(K::MonosimWhitespace, "a b"), "monosim parameter contains whitespace: `a b`"},
        {Error(K::InvalidOnym, "-a"), "invalid onym identifier `-a`"},
        {Error(K::InvalidGenos, "X"), "invalid genos identifier `X`"},
        {Error(K::AxiomaBeforeDefinition, "ax"),
         "axioma reference `ax` precedes its definition (or is never defined)"},
        {Error(K::DeixisNotOnym, "d"), "deixis reference `d` is not a declared onym"},
        {Error(K::DeixisTargetMismatch, "^", "fig"),
         "deixis `@^(fig)` does not point at a `@^` simmere"},
        {Error(K::EnlexisStandaloneAnchor, "e"),
         "axioma-enlexis reference `e` targets a standalone onym anchor"},
        {Error(K::EnlexisParaInEndo, "e"),
         "axioma-enlexis reference `e` would include a para-simmere in endo-context"},
        {Error(K::AnaphorInEndo), "anaphor (file transclusion) form in endo-context"},
        {Error(K::MissingResource, "tei import: empty tag"),
         "missing or unreadable resource: tei import: empty tag"},
        {Error(K::TransclusionCycle, "dialektos inheritance cycle through `a`"),
         "transclusion cycle through dialektos inheritance cycle through `a`"},
        {Error(K::Message, "free text"), "free text"},
        {Error(K::InconsistentTaxis, std::uint64_t{2}, std::uint64_t{4}),
         "inconsistent taxis: expected 2, found 4"},
        {Error(K::ConflictingSimSymbol, "*"), "conflicting definitions for sim symbol `*`"},
        {Error(K::InvalidDefinition, "glossa: missing pair declaration"),
         "invalid dialektos definition: glossa: missing pair declaration"},
        {Error(K::InvalidExomorphosis, "m"), "invalid exomorphosis definition: m"},
        {Error(K::InvalidMorphism, "m"), "invalid morphism definition: m"},
        {Error(K::UnresolvedMorphism, "m"),
         "cannot resolve morphism `m`: no .hom/.iso file and no derivable embedding"},
        {Error(K::UnmappedSims, "a, b"), "sims with no mapping under the morphism: a, b"},
        {Error(K::MorphismNotTotal, "a"),
         "morphism is not total over its source dialektos; unaccounted sims (map, group, or drop "
         "explicitly with @--): a"},
        {Error(K::AmbiguousMorphismRoute, "r"),
         "ambiguous morphism route; add a direct morphism or morph explicitly through an "
         "intermediate: r"},
        {Error(K::UnresolvedExomorphosis, "x"),
         "cannot resolve exomorphosis `x`: no local or standard .exo file"},
        {Error(K::NoExomorphosisRule, "x"), "no exomorphosis rule matches `x` (and no default)"},
        {Error(K::AmbiguousExomorphosisRules, "x"),
         "ambiguous exomorphosis rules of equal specificity for `x`"},
        {Error(K::Other, "unexpected trailing content"), "unexpected trailing content"},
        {Error(K::Io, "No such file or directory"), "I/O error: No such file or directory"},
    };
    static_assert(std::size(cases) == error_kind_count);
    for (int i = 0; i < error_kind_count; ++i) {
        EXPECT_EQ(static_cast<int>(cases[i].error.kind), i);
        EXPECT_EQ(error_message(cases[i].error), cases[i].text) << "kind " << i;
    }
}

TEST(ErrorMessage, LocationComesFirst) {
    EXPECT_EQ(error_message(Error(ErrorKind::UndefinedSim, "@xyz").at("doc.ild", 3, 1)),
              "doc.ild:3:1: undefined sim `@xyz`");
    EXPECT_EQ(error_message(Error(ErrorKind::Other, "unexpected trailing content").at("a/b.ild", 2, 7)),
              "a/b.ild:2:7: unexpected trailing content");
    EXPECT_EQ(location_prefix({"std:/koine.dia", 12, 1}), "std:/koine.dia:12:1");
}

TEST(ErrorMessage, IncludeChainIsWrittenLastFirst) {
    Error error = Error(ErrorKind::UndefinedSim, "x").at("doc.ild", 1, 4);
    error.included_via = {"p1", "p2"};
    EXPECT_EQ(error_message(error), "doc.ild:1:4: undefined sim `x` (included via p2 -> p1)");
    error.included_via = {"only"};
    EXPECT_EQ(error_message(error), "doc.ild:1:4: undefined sim `x` (included via only)");
}

TEST(ErrorMessage, PayloadIsShownVerbatim) {
    // Braces and backticks inside a payload are not template holes.
    EXPECT_EQ(error_message(Error(ErrorKind::Other, "a {} `b`")), "a {} `b`");
    EXPECT_EQ(error_message(Error(ErrorKind::UndefinedSim, "")), "undefined sim ``");
}

}  // namespace
}  // namespace ilvex
