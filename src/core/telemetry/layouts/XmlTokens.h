// A small XML tokenizer for the text files cameras and phones write beside recordings (GPX and the like).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vx {

struct XmlToken {
  enum class Kind {
    Start,  // an element opens: `name` and `attributes`; `selfClosing` when it also ends ("<a/>")
    End,    // an element ends: `name`
    Text,   // character data with entities and CDATA resolved, in `text`
    Done,   // the root element has ended; nothing but comments and blanks follow
    Error,  // malformed or cut short at `offset`; every later call returns it again
  };
  Kind kind = Kind::Done;
  std::string_view name;  // the local name: a namespace prefix ("gpxtpx:speed") is dropped
  std::vector<std::pair<std::string_view, std::string>> attributes;  // local names, values decoded
  std::string text;
  bool selfClosing = false;
  std::size_t offset = 0;  // where the token starts in the text
};

// Reads the text one token at a time, checking what it passes: names match between start and end tags,
// attributes are quoted ('…' or "…"), entities are the five predefined ones or character references,
// comments, processing instructions and the document type are skipped. Nesting is bounded by kMaxDepth.
class XmlTokenizer {
 public:
  static constexpr std::size_t kMaxDepth = 64;

  explicit XmlTokenizer(std::string_view text);
  XmlToken Next();

 private:
  XmlToken Fail(std::size_t at);
  bool SkipMarkup();  // comments, <?…?> and <!DOCTYPE …>: true when one was skipped
  XmlToken ReadTag();
  XmlToken ReadText();
  bool ReadAttributes(XmlToken& token);

  std::string_view m_text;
  std::size_t m_nAt = 0;
  std::vector<std::string_view> m_open;  // names of the elements open, with their prefixes
  bool m_bRootSeen = false;
  std::size_t m_nErrorAt = std::string_view::npos;
};

}  // namespace vx
