// The key-sequence parser: items, modifiers, groups and braced keys, and the one injection per string.
#include "keys/KeySequenceTyper.h"

#include "keys/HeldKeys.h"
#include "keys/NamedKeys.h"
#include "keys/RepeatCount.h"
#include "platform/VirtualKeys.h"

namespace quorvane::keys {
namespace {

std::uint16_t modifierKey(char16_t c) {
    switch (c) {
    case u'+':
        return platform::kVkShift;
    case u'^':
        return platform::kVkControl;
    case u'%':
        return platform::kVkAlt;
    default:
        return 0;
    }
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

KeySequenceTyper::KeySequenceTyper(platform::KeyboardLayout &layout, platform::KeyInjector &injector)
    : m_injector(injector), m_builder(layout, m_events) {}

bool KeySequenceTyper::ShiftHeld() const { return m_shiftHeld; }

bool KeySequenceTyper::SendKeySequence(std::u16string_view keys) {
    m_builder.begin();
    m_events.begin();
    m_parseText = keys;
    m_parsePosition = 0;
    m_shiftHeld = false;
    m_ctrlOrAltDepth = 0;
    while (m_parsePosition < m_parseText.size()) {
        parseItem();
        m_events.ensureRoom();
    }
    return flushEvents();
}

void KeySequenceTyper::parseItem() {
    const char16_t c = m_parseText[m_parsePosition];
    if (modifierKey(c) != 0) {
        parseModifiers();
    } else if (c == u'(') {
        parseGroup();
    } else if (c == u'{') {
        parseBraces();
    } else {
        ++m_parsePosition;
        m_builder.typeCharacter(c, true, held());
    }
}

// A run of modifiers applies, nested, to the one item after it. It is walked as a run, not recursively,
// so a long run of "+" cannot exhaust the stack.
void KeySequenceTyper::parseModifiers() {
    const std::size_t first = m_parsePosition;
    while (m_parsePosition < m_parseText.size() && modifierKey(m_parseText[m_parsePosition]) != 0) {
        ++m_parsePosition;
    }
    // Modifiers at the very end have no item to apply to: they are ignored, so nothing is left held.
    if (m_parsePosition == m_parseText.size()) {
        return;
    }
    const std::size_t chainBase = m_modifierDowns.size();
    for (std::size_t i = first; i < m_parsePosition; ++i) {
        m_modifierDowns.push_back(m_events.size());
        m_builder.addKeyRecord(modifierKey(m_parseText[i]), false);
        if (m_parseText[i] == u'+') {
            m_shiftHeld = true;
        } else {
            ++m_ctrlOrAltDepth;
        }
    }
    const std::size_t last = m_parsePosition;
    parseItem();
    for (std::size_t i = last; i-- > first;) {
        const char16_t modifier = m_parseText[i];
        const std::size_t downAt = m_modifierDowns.back();
        m_modifierDowns.pop_back();
        if (modifier == u'+') {
            m_shiftHeld = false;
        } else {
            --m_ctrlOrAltDepth;
        }
        // A lone Alt tap opens the terminal window's menu, and the keys after it would pick menu items.
        if (modifier == u'%' && m_events.size() == downAt + 1) {
            m_events.dropLast();
        } else {
            m_builder.addKeyRecord(modifierKey(modifier), true);
        }
    }
    m_modifierDowns.resize(chainBase);
}

void KeySequenceTyper::parseGroup() {
    const std::size_t open = m_parsePosition;
    const std::size_t close = m_parseText.find(u')', open + 1);
    if (close == std::u16string_view::npos || close == open + 1) {
        m_parsePosition = open + 1;
        return;
    }
    for (std::size_t i = open + 1; i < close; ++i) {
        m_builder.typeCharacter(m_parseText[i], true, held());
    }
    m_parsePosition = close + 1;
}

void KeySequenceTyper::parseBraces() {
    const std::size_t open = m_parsePosition;
    // The character right after "{" is never the closing brace, so "{}}" types "}".
    const std::size_t close = m_parseText.find(u'}', open + 2);
    if (close == std::u16string_view::npos) {
        m_parsePosition = open + 1;
        return;
    }
    const std::u16string_view braced = m_parseText.substr(open + 1, close - open - 1);
    const std::size_t nameEnd = braced.find(u' ');
    int count = 1;
    if (nameEnd != std::u16string_view::npos) {
        const std::u16string_view rest = braced.substr(nameEnd + 1);
        count = repeatCount(rest.substr(0, rest.find(u' ')));
    }
    if (const auto key = findNamedKey(braced.substr(0, nameEnd))) {
        for (int i = 0; i < count; ++i) {
            m_builder.addKeyPress(key->vk, false, key->extended, held());
        }
    } else {
        typeBracedCharacter(braced, count);
    }
    m_parsePosition = close + 1;
}

// The first character of the braced text stands for itself; a surrogate pair is one character.
void KeySequenceTyper::typeBracedCharacter(std::u16string_view bracedText, int count) {
    const char16_t first = bracedText[0];
    if (isHighSurrogate(first) && bracedText.size() > 1 && isLowSurrogate(bracedText[1])) {
        for (int i = 0; i < count; ++i) {
            m_builder.addUnicodeCharacter(first);
            m_builder.addUnicodeCharacter(bracedText[1]);
        }
        return;
    }
    for (int i = 0; i < count; ++i) {
        m_builder.typeCharacter(first, false, held());
    }
}

// One injection for the whole string. When the injector takes only part of it, the keys that part left
// pressed are released, so no modifier stays down for the whole desktop.
bool KeySequenceTyper::flushEvents() {
    const std::span<const platform::KeyRecord> records = m_events.records();
    bool complete = true;
    if (!records.empty()) {
        const std::size_t inserted = m_injector.inject(records);
        if (inserted < records.size()) {
            complete = false;
            std::vector<platform::KeyRecord> releases = releasesOfHeldKeys(records.first(inserted));
            // Releasing an Alt right after its press would be a lone Alt tap: a Ctrl press in between
            // keeps the terminal's menu shut.
            const platform::KeyRecord altDown = m_builder.keyRecord(platform::kVkAlt, false);
            if (!releases.empty() && records[inserted - 1] == altDown) {
                releases.insert(releases.begin(), {m_builder.keyRecord(platform::kVkControl, false),
                                                   m_builder.keyRecord(platform::kVkControl, true)});
            }
            if (!releases.empty()) {
                m_injector.inject(releases);
            }
        }
    }
    m_events.release();
    return complete;
}

} // namespace quorvane::keys
