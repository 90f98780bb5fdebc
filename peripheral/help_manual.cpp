#include "peripheral/help_manual.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>

namespace kesto {
namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string LowerAscii(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), Lower);
    return result;
}

bool IsWordChar(char c) {
    // Bytes of UTF-8 sequences count as letters.
    return std::isalnum(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0x80;
}

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x110000) {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Decodes the character references the manual uses; an unknown one stays as written.
std::string DecodeEntities(std::string_view text) {
    struct Named {
        const char* name;
        uint32_t code;
    };
    static const Named named[] = {{"amp", '&'},      {"lt", '<'},       {"gt", '>'},
                                  {"quot", '"'},     {"apos", '\''},    {"nbsp", ' '},
                                  {"ndash", 0x2013}, {"mdash", 0x2014}, {"minus", 0x2212},
                                  {"rarr", 0x2192},  {"times", 0xD7},   {"hellip", 0x2026}};
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::size_t end = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
        if (end == std::string_view::npos || end - i > 10) {
            out += text[i];
            continue;
        }
        std::string_view name = text.substr(i + 1, end - i - 1);
        std::optional<uint32_t> code;
        if (!name.empty() && name[0] == '#') {
            bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
            std::string digits(name.substr(hex ? 2 : 1));
            if (!digits.empty() &&
                digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") ==
                    std::string::npos)
                code = static_cast<uint32_t>(std::stoul(digits, nullptr, hex ? 16 : 10));
        } else {
            for (const auto& entry : named)
                if (name == entry.name)
                    code = entry.code;
        }
        if (!code) {
            out += text[i];
            continue;
        }
        AppendUtf8(out, *code);
        i = end;
    }
    return out;
}

// Runs of blanks and line ends become one blank; no blank at either end.
std::string CollapseSpace(std::string_view text) {
    std::string out;
    bool space = false;
    for (char c : text) {
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
            space = !out.empty();
            continue;
        }
        if (space)
            out += ' ';
        space = false;
        out += c;
    }
    return out;
}

struct Tag {
    std::string name; // lower case, without "/"
    bool closing = false;
    std::string attributes;
};

Tag ReadTag(std::string_view inside) {
    Tag tag;
    std::size_t i = 0;
    if (i < inside.size() && inside[i] == '/') {
        tag.closing = true;
        ++i;
    }
    while (i < inside.size() && IsWordChar(inside[i]))
        tag.name += Lower(inside[i++]);
    tag.attributes = std::string(inside.substr(i));
    return tag;
}

// The value of attribute `name` ("id", "href") in a tag's attribute text.
std::string Attribute(std::string_view attributes, std::string_view name) {
    std::string lower = LowerAscii(attributes);
    for (std::size_t at = lower.find(name); at != std::string::npos;
         at = lower.find(name, at + 1)) {
        if (at > 0 && IsWordChar(lower[at - 1]))
            continue;
        std::size_t i = at + name.size();
        while (i < lower.size() && lower[i] == ' ')
            ++i;
        if (i >= lower.size() || lower[i] != '=')
            continue;
        ++i;
        while (i < lower.size() && lower[i] == ' ')
            ++i;
        if (i < lower.size() && (lower[i] == '"' || lower[i] == '\'')) {
            std::size_t end = attributes.find(attributes[i], i + 1);
            if (end == std::string_view::npos)
                return {};
            return std::string(attributes.substr(i + 1, end - i - 1));
        }
        std::size_t end = i;
        while (end < attributes.size() && attributes[end] != ' ' && attributes[end] != '>')
            ++end;
        return std::string(attributes.substr(i, end - i));
    }
    return {};
}

int HeadingLevel(const std::string& name) {
    if (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '3')
        return name[1] - '0';
    return 0;
}

bool IsBlock(const std::string& name) {
    static const char* blocks[] = {"p",  "br", "li", "ul", "ol",         "div",    "table",
                                   "tr", "td", "th", "dt", "dd",         "pre",    "h4",
                                   "h5", "h6", "dl", "hr", "blockquote", "section"};
    return std::any_of(std::begin(blocks), std::end(blocks),
                       [&](const char* block) { return name == block; });
}

// True when `word` (lower case) begins a word of `haystack` (lower case).
bool BeginsAWord(const std::string& haystack, const std::string& word) {
    for (std::size_t at = haystack.find(word); at != std::string::npos;
         at = haystack.find(word, at + 1))
        if (at == 0 || !IsWordChar(haystack[at - 1]))
            return true;
    return false;
}

} // namespace

HelpManual ParseHelpManual(std::string_view html) {
    HelpManual manual;
    std::string* target = nullptr; // where text goes now
    std::string titleText;
    std::string headingText;
    std::string linkText;
    std::string linkAnchor;
    bool inTitle = false, inHeading = false, inLink = false, skipping = false;
    int headingLevel = 0;
    std::string headingAnchor;

    auto flushText = [&](std::string_view raw) {
        if (skipping)
            return;
        std::string text = DecodeEntities(raw);
        if (inTitle)
            titleText += text;
        if (inHeading)
            headingText += text;
        else if (target)
            *target += text;
        if (inLink)
            linkText += text;
    };

    std::size_t i = 0;
    while (i < html.size()) {
        std::size_t open = html.find('<', i);
        flushText(html.substr(i, open == std::string_view::npos ? html.size() - i : open - i));
        if (open == std::string_view::npos)
            break;
        if (html.substr(open, 4) == "<!--") {
            std::size_t end = html.find("-->", open + 4);
            i = end == std::string_view::npos ? html.size() : end + 3;
            continue;
        }
        std::size_t close = html.find('>', open);
        if (close == std::string_view::npos)
            break;
        Tag tag = ReadTag(html.substr(open + 1, close - open - 1));
        i = close + 1;

        if (tag.name == "style" || tag.name == "script") {
            skipping = !tag.closing;
            continue;
        }
        if (tag.name == "title") {
            inTitle = !tag.closing;
            continue;
        }
        if (int level = HeadingLevel(tag.name); level != 0) {
            if (!tag.closing) {
                std::string id = Attribute(tag.attributes, "id");
                if (!id.empty()) {
                    inHeading = true;
                    headingLevel = level;
                    headingAnchor = id;
                    headingText.clear();
                } else if (target) {
                    *target += ' ';
                }
            } else if (inHeading && level == headingLevel) {
                inHeading = false;
                HelpSection section;
                section.anchor = headingAnchor;
                section.title = CollapseSpace(headingText);
                section.level = headingLevel;
                manual.sections.push_back(std::move(section));
                target = &manual.sections.back().text;
            } else if (target) {
                *target += ' ';
            }
            continue;
        }
        if (tag.name == "a") {
            if (!tag.closing) {
                std::string href = Attribute(tag.attributes, "href");
                inLink = !href.empty() && href[0] == '#';
                linkAnchor = inLink ? href.substr(1) : std::string();
                linkText.clear();
            } else if (inLink) {
                inLink = false;
                if (!manual.sections.empty() && manual.sections.back().anchor == HelpIndexAnchor) {
                    std::string keyword = CollapseSpace(linkText);
                    if (!keyword.empty())
                        manual.index.push_back({keyword, linkAnchor});
                }
            }
            continue;
        }
        if (IsBlock(tag.name) && target)
            *target += ' ';
    }
    manual.title = CollapseSpace(titleText);
    for (auto& section : manual.sections)
        section.text = CollapseSpace(section.text);
    return manual;
}

std::vector<std::size_t> SearchHelp(const HelpManual& manual, std::string_view query) {
    std::vector<std::string> words;
    std::string word;
    for (char c : query) {
        if (c == ' ' || c == '\t') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += Lower(c);
        }
    }
    if (!word.empty())
        words.push_back(word);

    std::vector<std::size_t> found;
    if (words.empty())
        return found;
    for (std::size_t s = 0; s < manual.sections.size(); ++s) {
        const HelpSection& section = manual.sections[s];
        if (section.anchor == HelpIndexAnchor)
            continue;
        std::string haystack = LowerAscii(section.title + " " + section.text);
        if (std::all_of(words.begin(), words.end(),
                        [&](const std::string& w) { return BeginsAWord(haystack, w); }))
            found.push_back(s);
    }
    return found;
}

std::size_t FindSection(const HelpManual& manual, std::string_view anchor) {
    for (std::size_t s = 0; s < manual.sections.size(); ++s)
        if (manual.sections[s].anchor == anchor)
            return s;
    return manual.sections.size();
}

} // namespace kesto
