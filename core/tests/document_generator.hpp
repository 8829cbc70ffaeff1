// Random document texts from the grammar, for the round-trip properties: the
// sims of a resolved dialektos in every form they allow (symbols and
// "{name}" with primary and glossa names, taxes, lemmata, hypographs,
// suffixes), the trigraph blocks, inline markup nested a few levels deep,
// escapes, "|" separators, comments at the edges of lines and blocks, both
// sigils, and text whose characters collide with the dialektos's symbols.
// Most texts parse; the rest are refused by the parser, which is fine: the
// properties only speak of documents.
#pragma once

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "dialektos/lexical.hpp"
#include "dialektos/model.hpp"
#include "dialektos/sim_lookup.hpp"

namespace ilvex::testing {

class DocumentGenerator {
public:
    // `embedded` are the dialektoi Englossis blocks may switch to, by id.
    DocumentGenerator(std::uint32_t seed, std::map<std::string, const Dialektos*> embedded = {})
        : random_(seed), embedded_(std::move(embedded)) {}

    std::string document(const Dialektos& dialektos, bool backslash) {
        s_ = backslash ? '\\' : '@';
        e_ = backslash ? '@' : '\\';
        out_.clear();
        if (chance(10)) out_ += "#!/usr/bin/env ilvex\n";
        out_ += sigils(3) + "!" + dialektos.id;
        if (chance(15)) out_ += chance(50) ? "@1" : "@0.3";
        if (chance(10)) out_ += "  ";
        newline();
        crlf_ = chance(10);
        blocks(dialektos, 0, pick(0, 5));
        return out_;
    }

private:
    // ---- choices -----------------------------------------------------------

    bool chance(int percent) { return std::uniform_int_distribution<int>(0, 99)(random_) < percent; }
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    template <class T>
    const T& one_of(const std::vector<T>& list) {
        return list[static_cast<std::size_t>(pick(0, static_cast<int>(list.size()) - 1))];
    }

    std::string sigils(int n) const { return std::string(static_cast<std::size_t>(n), s_); }

    void newline() {
        if (crlf_) out_ += '\r';
        out_ += '\n';
    }

    // ---- names and spellings ---------------------------------------------------

    std::vector<const SimDef*> sims_of(const Dialektos& d, int form) const {
        std::vector<const SimDef*> list;
        for (const auto& [symbol, sim] : d.sims) {
            if (static_cast<int>(sim.form.index()) == form) list.push_back(&sim);
        }
        return list;
    }

    // The symbol, or now and then "{name}" with a name that leads back to it.
    std::string token(const Dialektos& d, const SimDef& sim) {
        if (!chance(20)) return sim.symbol;
        std::vector<std::string> names = {sim.name};
        for (const auto& [lang, glossa] : d.glossae) {
            if (const auto entry = glossa.find(sim.symbol); entry != glossa.end()) names.push_back(entry->second);
        }
        const std::string& name = one_of(names);
        const NameLookup found = sim_by_name(d, name);
        if (found.outcome != NameLookup::Outcome::Found || found.sim != &sim) return sim.symbol;
        return "{" + name + "}";
    }

    std::string closer_of(const SimDef& sim, const std::string& token) const {
        return (token.starts_with('{') ? token : episim_symbol(sim.symbol, sim.mirrored)) + s_;
    }

    std::string onym() {
        static const std::vector<std::string> onyms = {"a", "n1", "sec-2.1", "gen:1:3", "a_b", "x9", "ένα", "12"};
        return one_of(onyms);
    }

    std::string genos() {
        static const std::vector<std::string> genoses = {"note", "em", "verse-2", "ébauche", "x", "aside"};
        return one_of(genoses);
    }

    std::string suffix() {
        std::string out;
        if (chance(15)) out += "(" + onym() + ")";
        for (int n = chance(20) ? pick(1, 2) : 0; n > 0; --n) out += "." + genos();
        if (!out.empty() && chance(20)) out += '|';
        return out;
    }

    // ---- text ------------------------------------------------------------------

    // Words and the characters that markup is made of: symbols of the
    // dialektos, brackets, dots, bars, quotes, escapes, non-ASCII letters.
    void text(const Dialektos& d, int length) {
        for (int n = 0; n < length; ++n) {
            switch (pick(0, 19)) {
                case 0: out_ += e_; out_ += s_; break;
                case 1: out_ += e_; out_ += '|'; break;
                case 2: out_ += e_; if (chance(50)) out_ += 'x'; break;
                case 3: out_ += '|'; break;
                case 4: out_ += one_of(std::vector<std::string>{"(", ")", ".", "-", ":", "\"", "(x)", ".y", "'"}); break;
                case 5: {
                    const auto& symbols = d.sims;
                    if (symbols.empty()) break;
                    auto it = symbols.begin();
                    std::advance(it, pick(0, static_cast<int>(symbols.size()) - 1));
                    out_ += it->first;
                    break;
                }
                case 6: out_ += one_of(std::vector<std::string>{"é", "e\xCC\x81", "Ω", "\u00A0", "\t", "٣", "ß"}); break;
                case 7: case 8: out_ += "  "; break;
                default:
                    out_ += one_of(std::vector<std::string>{"a", "word", "Text", "x2", "the", "42", " ", " ", " "});
            }
        }
    }

    // ---- inline markup ---------------------------------------------------------

    // A run of inline content. `lines` allows line breaks (running text).
    void inlines(const Dialektos& d, int depth, bool lines) {
        for (int n = pick(1, 5); n > 0; --n) {
            if (chance(50) || depth > 2) {
                text(d, pick(1, 4));
            } else {
                item(d, depth, lines);
            }
            if (lines && chance(12)) {
                if (chance(20)) out_ += ' ' + sigils(2) + "/ note";
                newline();
                if (chance(25)) out_ += "   ";
            }
        }
        if (chance(5)) out_ += ' ' + sigils(3) + "/ gone /" + sigils(3);
    }

    void item(const Dialektos& d, int depth, bool lines) {
        if (chance(10)) out_ += '|';
        switch (pick(0, 12)) {
            case 0: case 1: case 2: {
                const auto sims = sims_of(d, 0);
                if (sims.empty()) break;
                const SimDef& sim = *one_of(sims);
                const std::string t = token(d, sim);
                out_ += s_ + t;
                if (chance(10)) out_ += sigils(3) + "//" + sigils(3);
                inlines(d, depth + 1, lines);
                out_ += closer_of(sim, t) + suffix();
                break;
            }
            case 3: {
                const auto sims = sims_of(d, 2);
                if (sims.empty()) break;
                const SimDef& sim = *one_of(sims);
                out_ += s_ + token(d, sim) + "(" + (chance(70) ? onym() : "p/q.png") + ")" + suffix();
                break;
            }
            case 4: {
                const auto sims = sims_of(d, 1);
                if (sims.empty()) break;
                const SimDef& sim = *one_of(sims);
                out_ += s_ + token(d, sim) + "(" + onym() + ")" + suffix();
                break;
            }
            case 5:
                out_ += s_ + std::string("(\"") + one_of(std::vector<std::string>{"page", "v", "gen"}) + ":" +
                        one_of(std::vector<std::string>{"12", "p12|p13", "^|gen.1.1", "a"}) + "\")";
                if (chance(20)) out_ += "." + genos();
                break;
            case 6: out_ += s_ + std::string("(") + onym() + ")"; break;
            case 7:
                out_ += sigils(2) + "\"";
                out_ += one_of(std::vector<std::string>{"code", " a \\@ b ", "@*x*@", "\"", "|", "x\\", ""});
                out_ += "\"" + sigils(2) + suffix();
                break;
            case 8:
                out_ += sigils(2) + ".";
                inlines(d, depth + 1, lines);
                out_ += "." + sigils(2) + suffix();
                break;
            case 9:
                out_ += sigils(2) + ":";
                inlines(d, depth + 1, lines);
                out_ += ":" + sigils(2) + "(" + onym() + ")";
                break;
            case 10: out_ += sigils(2) + (chance(50) ? "(:" : "+(:") + onym() + ":)"; break;
            case 11: out_ += sigils(3) + "/ c /" + sigils(3); break;
            default: text(d, 2);
        }
    }

    // ---- blocks ----------------------------------------------------------------

    void blocks(const Dialektos& d, int depth, int count) {
        for (int n = 0; n < count; ++n) {
            if (n > 0 || chance(50)) {
                newline();
                if (chance(10)) newline();
            }
            block(d, depth);
        }
    }

    void indent() {
        if (chance(10)) out_ += "  ";
    }

    void block(const Dialektos& d, int depth) {
        indent();
        const int kind = depth > 2 ? 0 : pick(0, 16);
        switch (kind) {
            case 1: case 2: case 3: case 4: {
                const auto sims = sims_of(d, 1);
                if (sims.empty()) return paragraph(d);
                return para_simmere(d, *one_of(sims), depth);
            }
            case 5:
                out_ += sigils(3) + ".";
                if (chance(20)) out_ += " dropped";
                newline();
                blocks(d, depth + 1, pick(0, 2));
                return closing(d, "." + sigils(3), false, false);
            case 6:
                out_ += sigils(3) + "\"";
                newline();
                for (int n = pick(0, 3); n > 0; --n) {
                    out_ += one_of(std::vector<std::string>{"  code", "", "@@@.", "x \"@@ y", "\\@"});
                    newline();
                }
                return closing(d, "\"" + sigils(3), false, false);
            case 7: {
                if (embedded_.empty()) return paragraph(d);
                auto it = embedded_.begin();
                std::advance(it, pick(0, static_cast<int>(embedded_.size()) - 1));
                out_ += sigils(3) + "!(" + it->first + ")";
                newline();
                blocks(*it->second, depth + 1, pick(0, 2));
                return closing(d, "!" + sigils(3), false, false);
            }
            case 8:
                out_ += one_of(std::vector<std::string>{"@@@@(img/a.png)", "@@@(part.ild)", "@@@+(code.txt)",
                                                        "@@@(:ax:)", "@@@+(:ax:)"});
                if (s_ == '\\') {
                    std::string& line = out_;
                    for (std::size_t i = line.rfind('\n') + 1; i < line.size(); ++i) {
                        if (line[i] == '@') line[i] = '\\';
                    }
                }
                return newline();
            case 9:
                out_ += sigils(3) + ":";
                newline();
                blocks(d, depth + 1, pick(0, 2));
                out_ += ":" + sigils(3) + "(" + onym() + ")";
                return newline();
            case 10:
                out_ += sigils(3) + "=";
                if (chance(50)) {
                    out_ += ' ';
                    inlines(d, depth + 1, false);
                }
                newline();
                verses(d, depth);
                return closing(d, "=" + sigils(3), true, true);
            case 11:
                if (chance(50)) {
                    out_ += sigils(3) + "/ one line /" + sigils(3);
                } else {
                    out_ += sigils(3) + "/";
                    newline();
                    out_ += "comment";
                    newline();
                    out_ += "/" + sigils(3);
                }
                return newline();
            case 12:
                out_ += sigils(2) + "/ a line comment";
                return newline();
            default:
                return paragraph(d);
        }
    }

    void paragraph(const Dialektos& d) {
        inlines(d, 0, true);
        newline();
    }

    void phrase(const Dialektos& d, Occurrence occurrence) {
        if (occurrence == Occurrence::Absent || (occurrence == Occurrence::Optional && chance(50))) return;
        out_ += ' ';
        if (occurrence == Occurrence::Required && chance(5)) {
            out_ += sigils(2) + "/ empty";
            return;
        }
        inlines(d, 1, false);
    }

    void para_simmere(const Dialektos& d, const SimDef& sim, int depth) {
        const auto& form = std::get<ParaSimmere>(sim.form);
        const std::string t = token(d, sim);
        out_ += s_ + t;
        if (form.taxis == Occurrence::Required || (form.taxis == Occurrence::Optional && chance(50))) {
            out_ += chance(10) ? "()" : "(" + std::to_string(pick(0, 30)) + ")";
        }
        phrase(d, form.lemma);
        newline();
        if (form.body == SimBody::Grammata) {
            blocks(d, depth + 1, pick(0, 3));
        } else {
            verses(d, depth);
        }
        indent();
        out_ += closer_of(sim, t) + suffix();
        phrase(d, form.hypograph);
        newline();
    }

    void verses(const Dialektos& d, int depth) {
        for (int n = pick(0, 4); n > 0; --n) {
            if (chance(25)) newline();
            if (chance(20)) out_ += "   ";
            inlines(d, depth + 1, false);
            if (chance(10)) out_ += "  ";
            newline();
        }
    }

    void closing(const Dialektos& d, const std::string& closer, bool hypograph, bool lemma_given) {
        indent();
        out_ += closer + suffix();
        if (hypograph && lemma_given && chance(40)) {
            out_ += ' ';
            inlines(d, 1, false);
        }
        newline();
    }

    std::mt19937 random_;
    std::map<std::string, const Dialektos*> embedded_;
    std::string out_;
    char s_ = '@';
    char e_ = '\\';
    bool crlf_ = false;
};

}  // namespace ilvex::testing
