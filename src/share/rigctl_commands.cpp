// A client's bytes read into commands as rigctld reads them, and their numbers and VFO names.
#include "share/rigctl_commands.h"

#include <cctype>
#include <charconv>

namespace share {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isNewline(char c)
{
    return c == '\n' || c == '\r';
}

// A character that asks for the extended protocol with itself as the separator.
bool isSeparator(char c)
{
    return std::ispunct(static_cast<unsigned char>(c)) && c != '\\' && c != '_' && c != '#' &&
           c != '(' && c != ')';
}

// Reads as rigctld's stdio calls do; each returns false where the input runs out first.
class Cursor {
public:
    explicit Cursor(std::string_view input)
        : input_(input)
    {}

    std::size_t at() const { return at_; }

    bool character(char& c)
    {
        if (at_ >= input_.size()) {
            return false;
        }
        c = input_[at_++];
        return true;
    }

    // A whitespace-delimited word; it ends only where whitespace follows it.
    bool word(std::string& out)
    {
        while (at_ < input_.size() && isSpace(input_[at_])) {
            ++at_;
        }
        const std::size_t start = at_;
        while (at_ < input_.size() && !isSpace(input_[at_])) {
            ++at_;
        }
        if (at_ == input_.size()) {
            return false;
        }
        out.assign(input_.substr(start, at_ - start));
        return true;
    }

    // Up to and with the end of the line, which is not kept.
    bool line(std::string& out)
    {
        const std::size_t end = input_.find('\n', at_);
        if (end == std::string_view::npos) {
            return false;
        }
        out.assign(input_.substr(at_, end - at_));
        at_ = end + 1;
        return true;
    }

private:
    std::string_view input_;
    std::size_t at_ = 0;
};

bool readArgs(Cursor& in, const CommandInfo& command, std::vector<std::string>& args)
{
    std::string word;
    char skipped = 0;
    if (command.restOfLine) {
        // The argument starts with the character after the name, a line of its own when that
        // ends the line; every command but send_morse drops one leading space.
        if (!in.line(word) || (word.empty() && !in.line(word))) {
            return false;
        }
        if (command.code != 'b' && !word.empty() && word.front() == ' ') {
            word.erase(0, 1);
        }
        args.push_back(word);
        return true;
    }
    for (std::size_t i = 0; i < command.args; ++i) {
        // One character goes unread before each of the first two words, as in rigctld.
        if (i < 2 && !in.character(skipped)) {
            return false;
        }
        if (!in.word(word)) {
            return false;
        }
        args.push_back(word);
        // A first argument "?" asks for the choices and ends the arguments.
        if (i == 0 && word.front() == '?') {
            break;
        }
    }
    return true;
}

} // namespace

ReadResult readRequest(std::string_view input)
{
    Cursor in(input);
    Request request;
    char c = 0;
    // Line ends before a command are passed over whatever follows them.
    std::size_t idle = 0;
    while (idle < input.size() && isNewline(input[idle])) {
        ++idle;
    }
    do {
        if (!in.character(c)) {
            return {std::nullopt, idle};
        }
        if (c == '+') {
            request.extended = true;
            if (!in.character(c)) {
                return {std::nullopt, idle};
            }
        }
        if (isSeparator(c)) {
            request.extended = true;
            request.separator = c;
            if (!in.character(c)) {
                return {std::nullopt, idle};
            }
        }
        if (c == '\\') {
            // The character after the backslash, then the rest of the word.
            std::string name(1, '\0');
            std::string rest;
            if (!in.character(name[0]) || !in.word(rest)) {
                return {std::nullopt, idle};
            }
            request.command = commandByName(name + rest);
            if (!request.command) {
                return {request, in.at()};
            }
            break;
        }
    } while (isNewline(c));

    if (c == '#') {
        std::string comment;
        if (!in.line(comment)) {
            return {std::nullopt, idle};
        }
        return {request, in.at()};
    }
    if (c == 'q' || c == 'Q') {
        request.quit = true;
        return {request, in.at()};
    }
    if (!request.command) {
        request.command = commandByCode(static_cast<unsigned char>(c));
    }
    if (request.command && !readArgs(in, *request.command, request.args)) {
        return {std::nullopt, idle};
    }
    return {request, in.at()};
}

std::optional<std::int64_t> parseHz(std::string_view text)
{
    const std::size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view fraction = dot == std::string_view::npos ? "" : text.substr(dot + 1);
    std::int64_t hz = 0;
    const auto [end, error] = std::from_chars(whole.data(), whole.data() + whole.size(), hz);
    if (whole.empty() || error != std::errc() || end != whole.data() + whole.size() ||
        whole.size() > 11) {
        return std::nullopt;
    }
    for (const char c : fraction) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
    }
    if (!fraction.empty() && fraction[0] >= '5') {
        ++hz;
    }
    return hz;
}

std::optional<std::int64_t> parseInt(std::string_view text)
{
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace share
