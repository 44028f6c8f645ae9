#include "AudioSignature.h"

bool hasAudioSignature(QByteArrayView head)
{
    const auto at = [head](qsizetype offset, const char *tag) {
        return head.sliced(offset).startsWith(QByteArrayView(tag));
    };
    if (head.size() < 12)
        return false;
    if (at(0, "RIFF") && at(8, "WAVE"))
        return true;
    if (at(0, "FORM") && (at(8, "AIFF") || at(8, "AIFC")))
        return true;
    if (at(4, "ftyp") || at(0, "caff") || at(0, "ID3") || at(0, "fLaC") || at(0, "OggS"))
        return true;
    // MPEG audio and ADTS AAC start with an eleven-bit frame sync.
    return quint8(head[0]) == 0xFF && (quint8(head[1]) & 0xE0) == 0xE0;
}
