// Where the milestones, onyms and deixes of a document stand in its text.
//
// The outline reports, for each reference of the tree, the first line at or
// after a forward cursor whose text holds one of the reference's written
// forms. Rather than search every line for every reference, the text is
// scanned once: each place where a form could begin (a sigil, '@' or '\') is
// read as the one candidate that can stand there, and the candidate's key is
// filed with its line. The forms, S being either sigil:
//
//   milestone "<scheme>:<value>"   S("<scheme>:<value>")
//   onym "<onym>"                  S(<onym>)   (an anchor, or a suffix after a
//                                              closer, which ends in S)
//   deixis "<symbol>(<target>)"    S<symbol>(<target>) and S{<name>}(<target>)
//                                  for every name that addresses the symbol
//
// A line holds a form exactly when the index files the form's key under that
// line, for every key the lexical rules allow: keys never hold a sigil, "(",
// nor the delimiter that ends them ('"' for a milestone, ")" for an onym or a
// target), so a candidate read up to its delimiter is the only one that can
// start at its sigil. A key that breaks those rules is never found.
//
// Each distinct key is filed once, in a hash table, with the lines that hold
// it in document order: a query is one probe and a search of that key's
// lines, which are few.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/own_pages.hpp"
#include "dialektos/model.hpp"

namespace ilvex {

enum class ReferenceKind : std::uint8_t { Milestone = 0, Onym = 1, Deixis = 2 };

class ReferenceIndex {
public:
    // Indexes the standard lines of `text`, which must outlive the index;
    // `dialektos` tells which sim a plerographic name addresses.
    ReferenceIndex(std::string_view text, const Dialektos& dialektos);

    // The 0-based index of the first line at or after `from` that holds a
    // form of the reference with this kind and key.
    std::optional<std::uint64_t> first_line(ReferenceKind kind, std::string_view key,
                                            std::uint64_t from) const;

private:
    template <class T>
    using Buffer = std::vector<T, OwnPagesAllocator<T>>;

    // A distinct key of one kind.
    struct Key {
        std::string_view text;
        std::uint64_t tag = 0;  // the key's hash, with its kind in the two low bits
        // Where the key's lines end in lines_; they begin where the key
        // before it ends.
        std::size_t end = 0;
    };

    // The place in slots_ of the key with this tag and text: the slot that
    // holds it, or the empty slot where it would go.
    std::size_t slot_of(std::uint64_t tag, std::string_view text) const;
    // The number of the key in keys_, which it is given if it is new.
    std::size_t file(std::uint64_t tag, std::string_view text);
    void double_slots();

    Buffer<Key> keys_;
    // An open-addressing table of the keys: each slot holds a key's number
    // plus one, or 0. Its size is a power of two, at least twice the keys'.
    Buffer<std::size_t> slots_;
    // The lines that hold each key, in document order, key after key.
    Buffer<std::uint64_t> lines_;
    // The keys of plerographic deixes, which the text does not spell out; a
    // deque never moves its strings, so the views stay valid.
    std::deque<std::string> spelled_keys_;
};

}  // namespace ilvex
