// The document tree: the one in-memory form of a document, built by the
// parser and the importers, read by the writers and the outline.
//
// A tree is a plain owned value: no parent links, no sharing; copying copies
// deeply and `==` compares structurally. Each node kind is a plain struct
// nested in `Block` or `Inline`; the alternatives of `Block::Node` and
// `Inline::Node` are in the order of `BlockKind` and `InlineKind`, so a
// node's kind is its variant index.
#pragma once

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace ilvex {

// What follows an opener or closer: "(<onym>)" then ".<genos>" for each genos.
struct Suffix {
    std::optional<std::string> onym;
    std::vector<std::string> genoses;

    bool empty() const { return !onym && genoses.empty(); }
    bool operator==(const Suffix&) const = default;
};

// The position of a simmere in a sequence: "()" (Empty), "(N)" (Number) or
// nothing at all (Absent). The number means something only for Number.
struct Taxis {
    enum class State : std::uint8_t { Empty = 0, Number = 1, Absent = 2 };

    State state = State::Absent;
    std::uint64_t number = 0;

    static Taxis empty() { return {State::Empty, 0}; }
    static Taxis of(std::uint64_t n) { return {State::Number, n}; }
    static Taxis absent() { return {State::Absent, 0}; }

    bool operator==(const Taxis& other) const {
        return state == other.state && (state != State::Number || number == other.number);
    }
};

enum class InlineKind : std::uint8_t {
    Text = 0,
    EndoSimmere = 1,
    Enlexis = 2,
    Diaphane = 3,
    Monosim = 4,
    OnymAnchor = 5,
    Milestone = 6,
    Deixis = 7,
    EndoAxioma = 8,
    AxiomaReference = 9,
};

struct Inline {
    struct Text {
        std::string text;
        bool operator==(const Text&) const = default;
    };
    struct EndoSimmere {
        std::string symbol;
        std::vector<Inline> children;
        Suffix suffix;
        bool mirrored = true;
        bool operator==(const EndoSimmere&) const = default;
    };
    struct Enlexis {
        std::string text;
        Suffix suffix;
        bool operator==(const Enlexis&) const = default;
    };
    struct Diaphane {
        std::vector<Inline> children;
        Suffix suffix;
        bool operator==(const Diaphane&) const = default;
    };
    struct Monosim {
        std::string symbol;
        std::string param;
        Suffix suffix;
        bool operator==(const Monosim&) const = default;
    };
    struct OnymAnchor {
        std::string onym;
        bool operator==(const OnymAnchor&) const = default;
    };
    struct Milestone {
        std::string scheme;
        std::string value;
        Suffix suffix;
        bool operator==(const Milestone&) const = default;
    };
    struct Deixis {
        std::string symbol;
        std::string target;
        Suffix suffix;
        bool operator==(const Deixis&) const = default;
    };
    struct EndoAxioma {
        std::string onym;
        std::vector<Inline> children;
        bool operator==(const EndoAxioma&) const = default;
    };
    struct AxiomaReference {
        std::string onym;
        bool enlexis = false;
        bool operator==(const AxiomaReference&) const = default;
    };

    using Node = std::variant<Text, EndoSimmere, Enlexis, Diaphane, Monosim, OnymAnchor, Milestone,
                              Deixis, EndoAxioma, AxiomaReference>;

    Node node;

    Inline() = default;
    // Any node kind converts to an Inline, so lists read
    // `{Inline::Text{"a"}, Inline::OnymAnchor{"x"}}`.
    template <class T>
        requires std::constructible_from<Node, T&&> && (!std::same_as<std::remove_cvref_t<T>, Inline>)
    Inline(T&& n) : node(std::forward<T>(n)) {}

    InlineKind kind() const { return static_cast<InlineKind>(node.index()); }
    bool operator==(const Inline&) const = default;
};

// One line block strophe: its lines, each a list of inline items.
using Strophe = std::vector<std::vector<Inline>>;

enum class BlockKind : std::uint8_t {
    Paragraph = 0,
    Para = 1,
    Stichoi = 2,
    Diaphane = 3,
    MonadEnlexis = 4,
    Englossis = 5,
    Enmedia = 6,
    EnmediaDigest = 7,
    Anaphor = 8,
    AnaphorEnlexis = 9,
    ParaAxioma = 10,
    AxiomaReference = 11,
};

struct Block {
    struct Paragraph {
        std::vector<Inline> inlines;
        bool operator==(const Paragraph&) const = default;
    };
    struct Para {
        bool mirrored = true;
        std::string symbol;
        std::vector<Inline> lemma;
        std::vector<Block> children;
        std::vector<Inline> hypograph;
        Suffix suffix;
        Taxis taxis;
        bool operator==(const Para&) const = default;
    };
    // An absent symbol is the anonymous line block.
    struct Stichoi {
        bool mirrored = true;
        std::optional<std::string> symbol;
        std::vector<Inline> lemma;
        std::vector<Strophe> strophes;
        std::vector<Inline> hypograph;
        Suffix suffix;
        Taxis taxis;
        bool operator==(const Stichoi&) const = default;
    };
    struct Diaphane {
        std::vector<Block> children;
        Suffix suffix;
        bool operator==(const Diaphane&) const = default;
    };
    // `text` is the raw content, each line followed by "\n".
    struct MonadEnlexis {
        std::string text;
        Suffix suffix;
        bool operator==(const MonadEnlexis&) const = default;
    };
    struct Englossis {
        std::string dialektos;
        std::vector<Block> children;
        Suffix suffix;
        bool operator==(const Englossis&) const = default;
    };
    struct Enmedia {
        std::string param;
        bool operator==(const Enmedia&) const = default;
    };
    struct EnmediaDigest {
        std::string digest;
        bool operator==(const EnmediaDigest&) const = default;
    };
    struct Anaphor {
        std::string param;
        bool operator==(const Anaphor&) const = default;
    };
    struct AnaphorEnlexis {
        std::string param;
        bool operator==(const AnaphorEnlexis&) const = default;
    };
    struct ParaAxioma {
        std::string onym;
        std::vector<Block> children;
        bool operator==(const ParaAxioma&) const = default;
    };
    struct AxiomaReference {
        bool enlexis = false;
        std::string onym;
        bool operator==(const AxiomaReference&) const = default;
    };

    using Node = std::variant<Paragraph, Para, Stichoi, Diaphane, MonadEnlexis, Englossis, Enmedia,
                              EnmediaDigest, Anaphor, AnaphorEnlexis, ParaAxioma, AxiomaReference>;

    Node node;

    Block() = default;
    template <class T>
        requires std::constructible_from<Node, T&&> && (!std::same_as<std::remove_cvref_t<T>, Block>)
    Block(T&& n) : node(std::forward<T>(n)) {}

    BlockKind kind() const { return static_cast<BlockKind>(node.index()); }
    bool operator==(const Block&) const = default;
};

struct Document {
    std::string dialektos;
    std::optional<std::string> version;
    std::vector<Block> blocks;

    bool operator==(const Document&) const = default;
};

// The plain text of an inline list: the text of Text and Enlexis items and of
// the children of EndoSimmere and Diaphane items, white space runs collapsed
// to single spaces and trimmed at both ends.
std::string inline_plain_text(const std::vector<Inline>& inlines);

}  // namespace ilvex
