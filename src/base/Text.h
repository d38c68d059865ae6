#pragma once

#include <QString>

#include <functional>
#include <vector>

// A sentence for the user, kept as facts: its source text, written in Chinese
// and the key a translation looks it up by, and the values that fill its %1,
// %2, … in order. A value is a datum shown as it stands (a name, a number, a
// file, a server's own words) or a text of its own. The core says what it
// has to say with Texts; the windows put them into words in the interface
// language (words()). chinese() is the sentence in the source language, as logs and
// tests read it.
class Text {
public:
    Text() = default;
    Text(QString datum) : datum_(std::move(datum)) {}  // NOLINT: a datum is a Text
    Text(const char*) = delete;                         // a source text is marked: CoreText::tr

    // A source text and its values (see CoreText::tr).
    static Text Source(const char* source, std::vector<Text> values = {});

    bool isEmpty() const { return !source_ && datum_.isEmpty(); }
    const char* source() const { return source_; }
    const std::vector<Text>& values() const { return values_; }

    // The sentence, each source text turned into words by translate.
    QString render(const std::function<QString(const char*)>& translate) const;
    QString chinese() const;
    // The sentence in the interface language: each source text looked up in
    // the translation the program installed (none: the source language).
    // Windows show it; the core uses it only for words it writes into a
    // file of the user's (an export's captions, a new plan's title).
    QString words() const;

    // Fills %1, %2, … of pattern in one pass, so that a value holding "%1"
    // stays as it is.
    static QString Fill(const QString& pattern, const QStringList& values);

private:
    const char* source_ = nullptr;
    QString datum_;
    std::vector<Text> values_;
};

// Marks a source text of the core for translation and binds its values:
// CoreText::tr("第%1行", QString::number(row)). Nothing is translated here;
// the name lets the translation tools find the texts of the core, under the
// context "CoreText". A constant source text is marked where it is defined
// with QT_TRANSLATE_NOOP("CoreText", "…").
struct CoreText {
    template <class... V>
    static Text tr(const char* source, V&&... values)
    {
        return Text::Source(source, {Text(std::forward<V>(values))...});
    }
};
