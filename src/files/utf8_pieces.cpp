#include "files/utf8_pieces.h"

#include <QStringDecoder>

namespace tunara::files {

namespace {

// How many bytes the character that starts with this byte takes; 0 for a
// byte that starts none (a continuation byte, or one UTF-8 never uses).
int sequenceLength(quint8 lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// Where the bytes stop being whole characters: the start of a character
// that needs more bytes than follow it, else the end.
qsizetype wholeEnd(QByteArrayView bytes)
{
    for (qsizetype back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const quint8 byte = quint8(bytes[bytes.size() - back]);
        if ((byte & 0xC0) == 0x80)
            continue;  // a continuation byte: its lead is further back
        return sequenceLength(byte) > back ? bytes.size() - back : bytes.size();
    }
    return bytes.size();
}

}  // namespace

QString Utf8Pieces::decode(QByteArrayView piece)
{
    QByteArray bytes = m_held;
    bytes.append(piece);
    const qsizetype end = wholeEnd(bytes);
    m_held = bytes.sliced(end);
    // Each call decodes whole characters only, so a decoder without memory
    // of earlier pieces judges every byte.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes).first(end));
    m_error = m_error || utf8.hasError();
    return text;
}

}  // namespace tunara::files
