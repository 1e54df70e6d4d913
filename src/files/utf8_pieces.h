#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tunara::files {

// UTF-8 decoded a piece at a time, so a large text never needs a decoded
// copy of the whole, and a head cut from a longer file can be read up to its
// cut. A character that a piece ends inside is held back and decoded whole
// with the next piece; whatever does not decode is an error.
class Utf8Pieces {
public:
    // The text of the piece, with the bytes held back from the one before.
    QString decode(QByteArrayView piece);
    // Some byte so far was not UTF-8.
    bool hasError() const { return m_error; }
    // The pieces so far end inside a character (a text that ends here is
    // not whole UTF-8; a head cut from a longer file leaves it out).
    bool endsInsideCharacter() const { return !m_held.isEmpty(); }

private:
    QByteArray m_held;  // the start of a character the last piece ended inside
    bool m_error = false;
};

}  // namespace tunara::files
