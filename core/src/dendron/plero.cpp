#include "dendron/plero.hpp"

#include <array>
#include <map>
#include <memory>
#include <unordered_map>
#include <variant>

#include "dendron/overloaded.hpp"
#include "dendron/paragraph_line.hpp"
#include "dendron/recent_entries.hpp"
#include "dendron/writer_forms.hpp"
#include "dialektos/sim_lookup.hpp"

namespace ilvex {

// One walk over a tree. A name lookup passes over every sim and glossa
// entry of a dialektos, so each symbol is named once per dialektos and each
// embedded dialektos is resolved once.
class Localizer {
public:
    Localizer(std::optional<std::string_view> lang, const ResolveDialektos& resolve) : lang_(lang), resolve_(resolve) {}

    Status blocks(std::vector<Block>& list, const Dialektos& dialektos, std::optional<std::string_view> lang) {
        for (Block& item : list) {
            if (Status status = block(item, dialektos, lang); !status) return status;
        }
        return {};
    }

    Status block(Block& block, const Dialektos& dialektos, std::optional<std::string_view> lang) {
        return std::visit(
                overloaded{
                    [&](Block::Paragraph& x) { return inlines(x.inlines, dialektos, lang); },
                    [&](Block::Para& x) -> Status {
                        if (Status s = opener(x, dialektos, lang); !s) return s;
                        if (Status s = blocks(x.children, dialektos, lang); !s) return s;
                        return inlines(x.hypograph, dialektos, lang);
                    },
                    [&](Block::Stichoi& x) -> Status {
                        if (x.symbol) {
                            if (Status s = symbol(*x.symbol, dialektos, lang); !s) return s;
                        }
                        if (Status s = inlines(x.lemma, dialektos, lang); !s) return s;
                        for (Strophe& strophe : x.strophes) {
                            for (auto& line : strophe) {
                                if (Status s = inlines(line, dialektos, lang); !s) return s;
                            }
                        }
                        return inlines(x.hypograph, dialektos, lang);
                    },
                    [&](Block::Diaphane& x) { return blocks(x.children, dialektos, lang); },
                    [&](Block::Englossis& x) { return englossis(x); },
                    // A ParaAxioma body keeps its symbols; the other kinds hold none.
                    [](auto&) { return Status(); },
                },
                block.node);
    }

    // What the opener of a Para holds: its symbol and lemma.
    Status opener(Block::Para& para, const Dialektos& dialektos, std::optional<std::string_view> lang) {
        if (Status s = symbol(para.symbol, dialektos, lang); !s) return s;
        return inlines(para.lemma, dialektos, lang);
    }

    Status inlines(std::vector<Inline>& list, const Dialektos& dialektos, std::optional<std::string_view> lang) {
        if (list.empty()) return {};  // most lemmas and hypographs
        for (Inline& item : list) {
            Status status = std::visit(
                overloaded{
                    [&](Inline::EndoSimmere& x) -> Status {
                        if (Status s = symbol(x.symbol, dialektos, lang); !s) return s;
                        return inlines(x.children, dialektos, lang);
                    },
                    [&](Inline::Diaphane& x) { return inlines(x.children, dialektos, lang); },
                    [&](Inline::Monosim& x) { return symbol(x.symbol, dialektos, lang); },
                    [&](Inline::Deixis& x) { return symbol(x.symbol, dialektos, lang); },
                    // An axioma body keeps its symbols, like text and enlexis.
                    [](auto&) { return Status(); },
                },
                item.node);
            if (!status) return status;
        }
        return {};
    }

    Status symbol(std::string& symbol, const Dialektos& dialektos, std::optional<std::string_view> lang) {
        auto name = name_of(symbol, dialektos, lang);
        if (!name) return std::move(name).error();
        symbol = *name.value();
        return {};
    }

    // The "{name}" of `symbol`, kept for as long as the localizer lives.
    Result<const std::string*> name_of(std::string_view symbol, const Dialektos& dialektos,
                                       std::optional<std::string_view> lang) {
        Names& named = names_of(dialektos);
        const bool one_byte = symbol.size() == 1 && static_cast<unsigned char>(symbol[0]) < 0x80;
        if (one_byte) {
            if (const std::string* known = named.one_byte[static_cast<unsigned char>(symbol[0])]) return known;
        } else if (const auto* recent = named.recent.find(symbol)) {
            return &recent->second;
        }
        auto known = named.by_symbol.find(symbol);
        if (known == named.by_symbol.end()) {
            std::string name(symbol);
            if (auto status = localize_sim_reference(name, dialektos, lang); !status) return std::move(status).error();
            known = named.by_symbol.emplace(std::string(symbol), std::move(name)).first;
        }
        if (one_byte) {
            named.one_byte[static_cast<unsigned char>(known->first[0])] = &known->second;
        } else {
            named.recent.remember(*known);
        }
        return &known->second;
    }

    // How the children of an Englossis block are named: they were parsed
    // against the dialektos it names, so through that one, through its
    // glossa for the language when it has one, by primary names otherwise.
    // Without a resolver they keep their symbols (a null dialektos).
    Result<NamingContext> englossis_context(const std::string& id) {
        if (!resolve_) return NamingContext{};
        auto found = embedded_.find(id);
        if (found == embedded_.end()) {
            auto resolved = resolve_(id);
            if (!resolved) return std::move(resolved).error();
            found = embedded_.emplace(id, std::move(resolved).value()).first;
        }
        const Dialektos& embedded = found->second;
        const bool has_glossa = lang_ && embedded.glossae.contains(*lang_);
        return NamingContext{&embedded, has_glossa ? lang_ : std::nullopt};
    }

private:
    Status englossis(Block::Englossis& block) {
        auto context = englossis_context(block.dialektos);
        if (!context) return std::move(context).error();
        if (context->dialektos == nullptr) return {};
        return blocks(block.children, *context->dialektos, context->lang);
    }

    std::optional<std::string_view> lang_;
    const ResolveDialektos& resolve_;
    // The names given to the symbols of one dialektos (which stay in place
    // while more are added); symbols of one ASCII character are also found
    // by that character, longer ones among those found lately.
    struct Names {
        using BySymbol = std::unordered_map<std::string, std::string, writing::SymbolHash, std::equal_to<>>;
        BySymbol by_symbol;
        std::array<const std::string*, 128> one_byte{};
        writing::RecentEntries<BySymbol::value_type> recent;
    };

    // The names given so far in `dialektos`; the last dialektos asked for is
    // remembered, as consecutive symbols mostly share theirs.
    Names& names_of(const Dialektos& dialektos) {
        if (names_last_ == nullptr || names_for_ != &dialektos) {
            names_last_ = &names_[&dialektos];
            names_for_ = &dialektos;
        }
        return *names_last_;
    }

    std::map<std::string, Dialektos, std::less<>> embedded_;
    std::map<const Dialektos*, Names> names_;
    const Dialektos* names_for_ = nullptr;
    Names* names_last_ = nullptr;
};

// The names of one context, for the paragraph writer: a sim that cannot
// be named has none, and block() then reports why.
class StreamedLocalizer::BodyNames final : public SimNames {
public:
    BodyNames(Localizer& localizer, const NamingContext& context) : context(context), localizer_(localizer) {}

    const std::string* name_of(std::string_view symbol) override {
        auto name = localizer_.name_of(symbol, *context.dialektos, context.lang);
        return name ? name.value() : nullptr;
    }

    const NamingContext context;

private:
    Localizer& localizer_;
};

StreamedLocalizer::StreamedLocalizer(const Dialektos& dialektos, std::optional<std::string_view> lang,
                                     ResolveDialektos resolve)
    : resolve_(std::move(resolve)), localizer_(std::make_unique<Localizer>(lang, resolve_)) {
    bodies_.push_back(names_for(NamingContext{&dialektos, lang}));
}

StreamedLocalizer::~StreamedLocalizer() = default;

StreamedLocalizer::BodyNames* StreamedLocalizer::names_for(const NamingContext& context) {
    if (context.dialektos == nullptr) return nullptr;
    for (const auto& known : names_) {
        if (known->context.dialektos == context.dialektos && known->context.lang == context.lang) return known.get();
    }
    return names_.emplace_back(std::make_unique<BodyNames>(*localizer_, context)).get();
}

SimNames* StreamedLocalizer::paragraph_names() { return bodies_.back(); }

Status StreamedLocalizer::block(Block& block) {
    const BodyNames* body = bodies_.back();
    if (body == nullptr) return {};
    return localizer_->block(block, *body->context.dialektos, body->context.lang);
}

Status StreamedLocalizer::open(Block& container) {
    BodyNames* inner = bodies_.back();
    // Most containers are Paras, whose opener alone has sims to name yet.
    auto* para = std::get_if<Block::Para>(&container.node);
    Status named = para != nullptr && inner != nullptr
                       ? localizer_->opener(*para, *inner->context.dialektos, inner->context.lang)
                       : block(container);
    if (!named) return named;
    if (inner != nullptr) {
        if (const auto* englossis = std::get_if<Block::Englossis>(&container.node)) {
            auto context = localizer_->englossis_context(englossis->dialektos);
            if (!context) return std::move(context).error();
            inner = names_for(*context);
        } else if (std::holds_alternative<Block::ParaAxioma>(container.node)) {
            inner = nullptr;  // an axioma body keeps its symbols
        }
    }
    bodies_.push_back(inner);
    return {};
}

Status StreamedLocalizer::close(Block& container) {
    bodies_.pop_back();
    const BodyNames* body = bodies_.back();
    auto* para = std::get_if<Block::Para>(&container.node);
    if (body == nullptr || para == nullptr) return {};  // other closing lines hold no sim
    return localizer_->inlines(para->hypograph, *body->context.dialektos, body->context.lang);
}

Status localize_sim_reference(std::string& symbol, const Dialektos& dialektos, std::optional<std::string_view> lang) {
    const auto sim = dialektos.sims.find(symbol);
    if (sim == dialektos.sims.end()) return Error(ErrorKind::UndefinedSim, symbol);
    std::string_view name = sim->second.name;
    if (lang) {
        if (const auto glossa = dialektos.glossae.find(*lang); glossa != dialektos.glossae.end()) {
            if (const auto entry = glossa->second.find(symbol); entry != glossa->second.end()) name = entry->second;
        }
    }
    const NameLookup named = sim_by_name(dialektos, name);
    if (named.outcome != NameLookup::Outcome::Found || named.sim != &sim->second) {
        return Error(ErrorKind::Other, "sim name `" + std::string(name) + "` is not unambiguously addressable in `" +
                                           dialektos.id + "`");
    }
    symbol = name_reference(name);
    return {};
}

Status localize_inlines(std::vector<Inline>& inlines, const Dialektos& dialektos,
                        std::optional<std::string_view> lang) {
    return Localizer(lang, {}).inlines(inlines, dialektos, lang);
}

Status localize_blocks(std::vector<Block>& blocks, const Dialektos& dialektos, std::optional<std::string_view> lang,
                       const ResolveDialektos& resolve) {
    return Localizer(lang, resolve).blocks(blocks, dialektos, lang);
}

Status require_glossa(const Dialektos& dialektos, std::optional<std::string_view> lang) {
    if (lang && !dialektos.glossae.contains(*lang)) {
        return Error(ErrorKind::UnresolvedDialektos, dialektos.id + "." + std::string(*lang) + ".glossa");
    }
    return {};
}

Result<std::string> render_plero(const Document& document, const Dialektos& dialektos,
                                 std::optional<std::string_view> lang, const ResolveDialektos& resolve) {
    if (Status glossa = require_glossa(dialektos, lang); !glossa) return std::move(glossa).error();
    Document copy = document;
    if (auto status = localize_blocks(copy.blocks, dialektos, lang, resolve); !status) {
        return std::move(status).error();
    }
    return write_document(copy, &dialektos, resolve);
}

}  // namespace ilvex
