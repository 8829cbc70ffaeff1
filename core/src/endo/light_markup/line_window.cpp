#include "endo/light_markup/line_window.hpp"

namespace ilvex {

bool LineWindow::split_to(std::size_t i) {
    while (i - first_ >= held_.size() && unsplit_ < text_.size()) {
        std::size_t end = text_.find('\n', unsplit_);
        if (end == std::string_view::npos) end = text_.size();
        std::string_view line = text_.substr(unsplit_, end - unsplit_);
        if (end < text_.size() && line.ends_with('\r')) line.remove_suffix(1);
        held_.push_back(line);
        unsplit_ = end + 1;
    }
    return i - first_ < held_.size();
}

void LineWindow::drop_before(std::size_t i) {
    held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(i - first_));
    first_ = i;
}

std::string literal_lines(LineRange lines, std::size_t begin, std::size_t end) {
    std::size_t size = 0;
    for (std::size_t k = begin; k < end; ++k) size += lines[k].size() + 1;
    std::string text;
    text.reserve(size);
    for (std::size_t k = begin; k < end; ++k) {
        text += lines[k];
        text += '\n';
    }
    return text;
}

void join_lines(LineRange lines, std::size_t begin, std::size_t end, std::string& text) {
    std::size_t size = 0;
    for (std::size_t k = begin; k < end; ++k) size += lines[k].size() + 1;
    text.clear();
    text.reserve(size);
    for (std::size_t k = begin; k < end; ++k) {
        if (k > begin) text += ' ';
        text += lines[k];
    }
}

std::string joined_lines(LineRange lines, std::size_t begin, std::size_t end) {
    std::string text;
    join_lines(lines, begin, end, text);
    return text;
}

}  // namespace ilvex
