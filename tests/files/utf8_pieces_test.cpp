// UTF-8 read a piece at a time reads as the whole would, wherever the pieces
// are cut; a byte that is not UTF-8 is found wherever it falls; a text that
// stops inside a character is not whole.
#include "files/utf8_pieces.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using tunara::files::Utf8Pieces;

// The bytes in pieces of `size` bytes, through one decoder.
QString inPieces(Utf8Pieces &utf8, QByteArrayView bytes, qsizetype size)
{
    QString text;
    for (qsizetype at = 0; at < bytes.size(); at += size)
        text += utf8.decode(bytes.sliced(at, std::min(size, bytes.size() - at)));
    return text;
}

TEST(Utf8Pieces, AnyCutReadsAsTheWholeAndEveryBadByteIsFound)
{
    const QString text = QStringLiteral("ab \u00e9 \u20ac \U0001D11E \u0663 z");
    const QByteArray bytes = text.toUtf8();
    for (qsizetype size = 1; size <= 5; ++size) {
        Utf8Pieces utf8;
        EXPECT_EQ(inPieces(utf8, bytes, size), text) << size;
        EXPECT_FALSE(utf8.hasError());
        EXPECT_FALSE(utf8.endsInsideCharacter());
    }

    // Cut inside the euro sign: what comes before it, and no error yet.
    Utf8Pieces cut;
    EXPECT_EQ(cut.decode(QByteArrayView(bytes).first(bytes.indexOf("\xE2\x82\xAC") + 2)), QStringLiteral("ab \u00e9 "));
    EXPECT_TRUE(cut.endsInsideCharacter());
    EXPECT_FALSE(cut.hasError());

    // A lone continuation byte, an overlong form, a byte UTF-8 never uses, a
    // lead byte without its continuation, an encoded surrogate.
    for (const QByteArray &bad : {QByteArray("\x80"), QByteArray("\xC0\xAF"), QByteArray("\xFF"), QByteArray("\xC3x"),
                                  QByteArray("\xED\xA0\x80")}) {
        for (qsizetype size = 1; size <= 3; ++size) {
            Utf8Pieces utf8;
            inPieces(utf8, "a" + bad + "b", size);
            EXPECT_TRUE(utf8.hasError()) << bad.toHex().toStdString() << " in pieces of " << size;
        }
    }
}

}  // namespace
