// The XML tokenizer: tags, attributes, text with entities, CDATA; comments and declarations skipped.
#include "core/telemetry/layouts/XmlTokens.h"

#include <charconv>
#include <cstdint>

namespace vx {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameChar(char c) {
  return !IsBlank(c) && c != '/' && c != '>' && c != '<' && c != '=' && c != '\'' && c != '"' && c != '&';
}

std::string_view LocalName(std::string_view name) { return name.substr(name.find(':') + 1); }

void AppendUtf8(std::uint32_t code, std::string& out) {
  const auto put = [&out](std::uint32_t byte) { out += static_cast<char>(byte); };
  if (code < 0x80) {
    put(code);
  } else if (code < 0x800) {
    put(0xC0 | (code >> 6));
    put(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    put(0xE0 | (code >> 12));
    put(0x80 | ((code >> 6) & 0x3F));
    put(0x80 | (code & 0x3F));
  } else {
    put(0xF0 | (code >> 18));
    put(0x80 | ((code >> 12) & 0x3F));
    put(0x80 | ((code >> 6) & 0x3F));
    put(0x80 | (code & 0x3F));
  }
}

// "#38", "#x26" or one of the five predefined names, appended to `out`; false when it is none of them.
bool AppendEntity(std::string_view entity, std::string& out) {
  constexpr std::pair<std::string_view, char> kNamed[] = {
      {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
  for (const auto& [name, c] : kNamed) {
    if (entity == name) {
      out += c;
      return true;
    }
  }
  if (entity.size() < 2 || entity[0] != '#') return false;
  const bool hex = entity[1] == 'x';
  const std::string_view digits = entity.substr(hex ? 2 : 1);
  std::uint32_t code = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
  if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) return false;
  if (code == 0 || (code >= 0xD800 && code < 0xE000) || code > 0x10FFFF) return false;
  AppendUtf8(code, out);
  return true;
}

// Resolves the entities of `raw` into `out`; the offset in `raw` of a bad one, or npos.
std::size_t Decode(std::string_view raw, std::string& out) {
  constexpr std::size_t kLongestEntity = 10;  // "#x10FFFF" and a little room
  for (std::size_t at = 0; at < raw.size();) {
    const std::size_t amp = raw.find('&', at);
    out.append(raw.substr(at, amp - at));
    if (amp == std::string_view::npos) break;
    const std::size_t semicolon = raw.find(';', amp);
    if (semicolon == std::string_view::npos || semicolon - amp > kLongestEntity ||
        !AppendEntity(raw.substr(amp + 1, semicolon - amp - 1), out)) {
      return amp;
    }
    at = semicolon + 1;
  }
  return std::string_view::npos;
}

}  // namespace

XmlTokenizer::XmlTokenizer(std::string_view text) : m_text(text) {
  if (m_text.starts_with("\xEF\xBB\xBF")) m_nAt = 3;  // UTF-8 byte order mark
}

XmlToken XmlTokenizer::Fail(std::size_t at) {
  m_nErrorAt = at;
  XmlToken token;
  token.kind = XmlToken::Kind::Error;
  token.offset = at;
  return token;
}

XmlToken XmlTokenizer::Next() {
  if (m_nErrorAt != std::string_view::npos) return Fail(m_nErrorAt);
  while (true) {
    if (m_bRootSeen && m_open.empty()) return XmlToken{};
    if (m_open.empty()) {
      while (m_nAt < m_text.size() && IsBlank(m_text[m_nAt])) ++m_nAt;
    }
    if (m_nAt >= m_text.size()) return Fail(m_nAt);  // cut short, or no root element at all
    if (m_text[m_nAt] != '<') return m_open.empty() ? Fail(m_nAt) : ReadText();
    if (SkipMarkup()) continue;
    if (m_nErrorAt != std::string_view::npos) return Fail(m_nErrorAt);
    const std::string_view rest = m_text.substr(m_nAt);
    if (rest.starts_with("<![CDATA[")) {
      const std::size_t end = rest.find("]]>");
      if (m_open.empty() || end == std::string_view::npos) return Fail(m_nAt);
      XmlToken token;
      token.kind = XmlToken::Kind::Text;
      token.offset = m_nAt;
      token.text = rest.substr(9, end - 9);
      m_nAt += end + 3;
      return token;
    }
    if (rest.starts_with("<!")) return Fail(m_nAt);
    return ReadTag();
  }
}

bool XmlTokenizer::SkipMarkup() {
  const std::string_view rest = m_text.substr(m_nAt);
  std::size_t end = std::string_view::npos;
  if (rest.starts_with("<!--")) {
    end = rest.find("-->", 4);
    if (end != std::string_view::npos) end += 3;
  } else if (rest.starts_with("<?")) {
    end = rest.find("?>", 2);
    if (end != std::string_view::npos) end += 2;
  } else if (rest.starts_with("<!DOCTYPE")) {
    const std::size_t subset = rest.find('[');
    const std::size_t close = rest.find('>');
    end = subset < close ? rest.find("]>", subset) : close;  // an internal subset ends with "]>"
    if (end != std::string_view::npos) end = rest.find('>', end) + 1;
    if (m_bRootSeen) end = std::string_view::npos;
  } else {
    return false;
  }
  if (end == std::string_view::npos) {
    m_nErrorAt = m_nAt;
    return false;
  }
  m_nAt += end;
  return true;
}

XmlToken XmlTokenizer::ReadTag() {
  XmlToken token;
  token.offset = m_nAt;
  std::size_t at = m_nAt + 1;
  const bool closing = at < m_text.size() && m_text[at] == '/';
  if (closing) ++at;
  const std::size_t nameStart = at;
  while (at < m_text.size() && IsNameChar(m_text[at])) ++at;
  const std::string_view name = m_text.substr(nameStart, at - nameStart);
  if (name.empty()) return Fail(token.offset);
  token.name = LocalName(name);
  m_nAt = at;
  if (closing) {
    while (m_nAt < m_text.size() && IsBlank(m_text[m_nAt])) ++m_nAt;
    if (m_nAt >= m_text.size() || m_text[m_nAt] != '>' || m_open.empty() || m_open.back() != name) {
      return Fail(token.offset);
    }
    ++m_nAt;
    m_open.pop_back();
    token.kind = XmlToken::Kind::End;
    return token;
  }
  if (m_open.size() >= kMaxDepth || !ReadAttributes(token)) return Fail(token.offset);
  token.kind = XmlToken::Kind::Start;
  m_bRootSeen = true;
  if (!token.selfClosing) m_open.push_back(name);
  return token;
}

bool XmlTokenizer::ReadAttributes(XmlToken& token) {
  while (m_nAt < m_text.size()) {
    const std::size_t blanksFrom = m_nAt;
    while (m_nAt < m_text.size() && IsBlank(m_text[m_nAt])) ++m_nAt;
    const std::string_view rest = m_text.substr(m_nAt);
    if (rest.starts_with("/>") || rest.starts_with(">")) {
      token.selfClosing = rest.front() == '/';
      m_nAt += token.selfClosing ? 2 : 1;
      return true;
    }
    std::size_t at = m_nAt;
    while (at < m_text.size() && IsNameChar(m_text[at])) ++at;
    const std::string_view name = m_text.substr(m_nAt, at - m_nAt);
    while (at < m_text.size() && IsBlank(m_text[at])) ++at;
    if (name.empty() || blanksFrom == m_nAt || at >= m_text.size() || m_text[at] != '=') return false;
    ++at;
    while (at < m_text.size() && IsBlank(m_text[at])) ++at;
    if (at >= m_text.size() || (m_text[at] != '"' && m_text[at] != '\'')) return false;
    const std::size_t close = m_text.find(m_text[at], at + 1);
    if (close == std::string_view::npos) return false;
    const std::string_view raw = m_text.substr(at + 1, close - at - 1);
    std::string value;
    if (raw.find('<') != std::string_view::npos || Decode(raw, value) != std::string_view::npos) return false;
    token.attributes.emplace_back(LocalName(name), std::move(value));
    m_nAt = close + 1;
  }
  return false;
}

XmlToken XmlTokenizer::ReadText() {
  XmlToken token;
  token.kind = XmlToken::Kind::Text;
  token.offset = m_nAt;
  const std::size_t end = std::min(m_text.find('<', m_nAt), m_text.size());
  const std::size_t bad = Decode(m_text.substr(m_nAt, end - m_nAt), token.text);
  if (bad != std::string_view::npos) return Fail(m_nAt + bad);
  m_nAt = end;
  return token;
}

}  // namespace vx
