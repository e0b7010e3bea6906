#include "scanner/html_to_text.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <array>
#include <climits>
#include <memory>

#include "scanner/text_search.h"
#include "scanner/utf8_text.h"

namespace marvolt {

namespace {

constexpr std::string_view kBlockElements[] = {
    "address",  "blockquote", "caption", "center", "dd",  "div",   "dl", "dt", "fieldset", "form",
    "frame",    "h1",         "h2",      "h3",     "h4",  "h5",    "h6", "hr", "iframe",   "li",
    "noframes", "noscript",   "ol",      "p",      "pre", "table", "td", "th", "title",    "ul"};

constexpr std::string_view kKnownSchemes[] = {"http", "https", "ftp",   "mailto",
                                              "news", "nntp",  "gopher"};

bool IsBlock(std::string_view name) {
    return std::find(std::begin(kBlockElements), std::end(kBlockElements), name) !=
           std::end(kBlockElements);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool EqualsAnyCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && text::FindAnyCase(a, b) == 0;
}

std::string_view NameOf(const xmlNode* node) {
    return node->name == nullptr ? std::string_view()
                                 : std::string_view(reinterpret_cast<const char*>(node->name));
}

std::string Attribute(const xmlNode* node, const char* name, bool& present) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    present = value != nullptr;
    std::string result = present ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return result;
}

// A link address is written as it stands when it names one of the well-known schemes before
// a ":" within its first seven characters; any other is taken for a web address.
std::string LinkAddress(std::string_view href) {
    const std::size_t withinSeven = utf8::Advance(href, 0, 7);
    const std::size_t colon = href.substr(0, withinSeven).find(':');
    if (colon != std::string_view::npos) {
        const std::string_view scheme = href.substr(0, colon);
        for (const std::string_view known : kKnownSchemes) {
            if (EqualsAnyCase(scheme, known)) {
                return std::string(href);
            }
        }
    }
    std::string address = "http://";
    address.append(href);
    return address;
}

// "&nbsp;" renders as a plain space, but the parser turns it into U+00A0 like a literal
// no-break space, which must stay. The reference is therefore swapped for a noncharacter
// that the fragment does not hold and turned into a space when it is written.
// Empty when the fragment has no "&nbsp;".
std::string ChooseNbspMark(std::string_view fragment) {
    if (text::Find(fragment, "&nbsp;") == text::kNotFound) {
        return {};
    }
    for (char32_t candidate = 0xFDD0; candidate <= 0xFDEF; ++candidate) {
        std::string bytes;
        utf8::AppendCodePoint(bytes, candidate);
        if (text::Find(fragment, bytes) == text::kNotFound) {
            return bytes;
        }
    }
    return {};  // every candidate occurs: leave the reference to the parser
}

void ReplaceAll(std::string& text, std::string_view what, std::string_view with) {
    std::string out;
    std::size_t copied = 0;
    for (std::size_t at = text::Find(text, what); at != text::kNotFound;
         at = text::Find(std::string_view(text).substr(copied), what)) {
        at += copied;
        out.append(text, copied, at - copied);
        out.append(with);
        copied = at + what.size();
    }
    if (copied != 0) {
        out.append(text, copied);
        text = std::move(out);
    }
}

// The parser has no CDATA sections in HTML and would keep them as text; they give nothing.
void RemoveCdataSections(std::string& text) {
    constexpr std::string_view kOpen = "<![CDATA[";
    constexpr std::string_view kClose = "]]>";
    const std::string_view in = text;
    std::size_t at = text::Find(in, kOpen);
    if (at == text::kNotFound) {
        return;
    }
    std::string out;
    std::size_t copied = 0;
    while (at != text::kNotFound) {
        out.append(in.substr(copied, at - copied));
        const std::size_t close = text::Find(in.substr(at + kOpen.size()), kClose);
        copied = close == text::kNotFound ? in.size() : at + kOpen.size() + close + kClose.size();
        const std::size_t next = text::Find(in.substr(copied), kOpen);
        at = next == text::kNotFound ? text::kNotFound : copied + next;
    }
    out.append(in.substr(copied));
    text = std::move(out);
}

std::size_t CountAnyCase(std::string_view text, std::string_view what) {
    std::size_t count = 0;
    for (std::size_t at = text::FindAnyCase(text, what); at != text::kNotFound;) {
        ++count;
        const std::size_t next = text::FindAnyCase(text.substr(at + 1), what);
        at = next == text::kNotFound ? text::kNotFound : at + 1 + next;
    }
    return count;
}

// The parser puts loose text at the top of a document into a "p" it makes up, which would add
// paragraph breaks the fragment does not have. Inside an open body no "p" is made up, so the
// fragment is parsed after "<html><body>". Each "</body>" or "</html>" of the fragment would
// close that body again; the parser ignores as many of them as it saw extra "<body>" tags.
std::string WrapFragment(std::string_view fragment) {
    const std::size_t closers = CountAnyCase(fragment, "</body") + CountAnyCase(fragment, "</html");
    std::string document = "<html><body>";
    for (std::size_t k = 0; k < closers; ++k) {
        document += "<body>";
    }
    document.append(fragment);
    return document;
}

class Renderer {
  public:
    explicit Renderer(std::string nbspMark) : nbspMark_(std::move(nbspMark)) {}

    void Walk(const xmlNode* first) {
        const xmlNode* node = first;
        while (node != nullptr) {
            Enter(node);
            if (node->type == XML_ELEMENT_NODE && node->children != nullptr) {
                node = node->children;
                continue;
            }
            // Leave every finished element until one has a next sibling. The walk keeps no
            // stack of its own, so a deeply nested fragment cannot exhaust the call stack.
            while (node != nullptr) {
                if (node->type == XML_ELEMENT_NODE) {
                    Leave(node);
                }
                if (node->next != nullptr) {
                    node = node->next;
                    break;
                }
                node = node->parent;
                if (node != nullptr && node->type != XML_ELEMENT_NODE) {
                    node = nullptr;  // back at the document
                }
            }
        }
    }

    std::string Take() { return std::move(out_); }

  private:
    void Enter(const xmlNode* node) {
        if (node->type == XML_TEXT_NODE && node->content != nullptr) {
            AppendText(reinterpret_cast<const char*>(node->content));
            return;
        }
        if (node->type != XML_ELEMENT_NODE) {
            return;  // comments, processing instructions, script and style contents
        }
        const std::string_view name = NameOf(node);
        if (IsBlock(name)) {
            ParagraphBreak();
        }
        if (name == "li") {
            AppendPiece("* ");
        } else if (name == "br") {
            LineBreak();
        } else if (name == "pre") {
            ++preDepth_;
        } else if (name == "a") {
            ++linkDepth_;
        } else if (name == "img" && linkDepth_ > 0) {
            bool present = false;
            const std::string alt = Attribute(node, "alt", present);
            AppendText(alt);
        }
    }

    void Leave(const xmlNode* node) {
        const std::string_view name = NameOf(node);
        if (name == "a") {
            --linkDepth_;
            bool present = false;
            const std::string href = Attribute(node, "href", present);
            if (present) {
                AppendPiece(" " + LinkAddress(href));
            }
        } else if (name == "pre") {
            --preDepth_;
        }
        if (IsBlock(name)) {
            ParagraphBreak();
        }
    }

    // Text outside "pre" has each run of white space as one space.
    void AppendText(std::string_view text) {
        if (preDepth_ > 0) {
            AppendPiece(text);
            return;
        }
        scratch_.clear();
        bool inRun = false;
        for (const char c : text) {
            if (IsBlank(c)) {
                if (!inRun) {
                    scratch_ += ' ';
                }
                inRun = true;
            } else {
                scratch_ += c;
                inRun = false;
            }
        }
        AppendPiece(scratch_);
    }

    void AppendPiece(std::string_view piece) {
        if (out_.empty() || IsBlank(out_.back())) {
            const std::size_t first = piece.find_first_not_of(' ');
            piece = first == std::string_view::npos ? std::string_view() : piece.substr(first);
        }
        if (nbspMark_.empty()) {
            out_.append(piece);
            return;
        }
        for (std::size_t at = piece.find(nbspMark_); at != std::string_view::npos;
             at = piece.find(nbspMark_)) {
            out_.append(piece.substr(0, at));
            out_ += ' ';
            piece.remove_prefix(at + nbspMark_.size());
        }
        out_.append(piece);
    }

    void LineBreak() {
        if (!out_.empty() && !out_.ends_with("\r\n")) {
            out_ += "\r\n";
        }
    }

    // Leaves the output ending in exactly one blank line.
    void ParagraphBreak() {
        if (out_.empty() || out_.ends_with("\r\n\r\n")) {
            return;
        }
        out_ += out_.ends_with("\r\n") ? "\r\n" : "\r\n\r\n";
    }

    std::string nbspMark_;
    std::string out_;
    std::string scratch_;
    int preDepth_ = 0;
    int linkDepth_ = 0;
};

struct DocumentDeleter {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};

}  // namespace

std::string HtmlToText(std::string_view fragment) {
    if (fragment.empty() || !utf8::IsWellFormed(fragment)) {
        return {};
    }
    static const bool initialised = [] {
        xmlInitParser();  // once, before parsers run on several threads
        return true;
    }();
    (void)initialised;

    std::string source(fragment);
    RemoveCdataSections(source);
    const std::string nbspMark = ChooseNbspMark(source);
    if (!nbspMark.empty()) {
        ReplaceAll(source, "&nbsp;", nbspMark);
    }
    const std::string document = WrapFragment(source);
    if (document.size() > static_cast<std::size_t>(INT_MAX)) {
        return {};
    }
    const std::unique_ptr<xmlDoc, DocumentDeleter> doc(htmlReadMemory(
        document.data(), static_cast<int>(document.size()), nullptr, "UTF-8",
        HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET));
    if (doc == nullptr) {
        return {};
    }
    Renderer renderer(nbspMark);
    renderer.Walk(doc->children);
    return renderer.Take();
}

}  // namespace marvolt
