#include "Mp3Gapless.h"

#include <QtEndian>

namespace {

// Every decoder's synthesis filter delays the sound by this many samples
// beyond what the encoder recorded.
constexpr int decoderDelay = 529;

struct FrameHeader
{
    bool mpeg1 = false;
    bool mono = false;
    bool crc = false;
    int sampleRate = 0;
};

qsizetype afterId3Tag(const QByteArray &data)
{
    if (data.size() < 10 || !data.startsWith("ID3"))
        return 0;
    // The size is stored in four bytes of seven bits each.
    qsizetype size = 0;
    for (int i = 6; i < 10; ++i)
        size = (size << 7) | (quint8(data[i]) & 0x7F);
    const bool footer = quint8(data[5]) & 0x10;
    return 10 + size + (footer ? 10 : 0);
}

std::optional<FrameHeader> layer3Header(const QByteArray &data, qsizetype at)
{
    if (at + 4 > data.size())
        return std::nullopt;
    const auto byte = [&](int i) { return quint8(data[at + i]); };
    if (byte(0) != 0xFF || (byte(1) & 0xE0) != 0xE0 || ((byte(1) >> 1) & 0x3) != 0x1)
        return std::nullopt;
    static constexpr int rates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};
    const int version = (byte(1) >> 3) & 0x3; // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
    const int rateIndex = (byte(2) >> 2) & 0x3;
    if (version == 1 || rateIndex == 3)
        return std::nullopt;
    FrameHeader header;
    header.mpeg1 = version == 3;
    header.mono = ((byte(3) >> 6) & 0x3) == 3;
    header.crc = (byte(1) & 0x1) == 0;
    header.sampleRate = rates[version == 3 ? 0 : version == 2 ? 1 : 2][rateIndex];
    return header;
}

} // namespace

std::optional<Mp3Gapless> mp3Gapless(const QByteArray &data)
{
    const qsizetype frame = afterId3Tag(data);
    const std::optional<FrameHeader> header = layer3Header(data, frame);
    if (!header)
        return std::nullopt;
    const int sideInfo = header->mpeg1 ? (header->mono ? 17 : 32) : (header->mono ? 9 : 17);
    qsizetype at = frame + 4 + (header->crc ? 2 : 0) + sideInfo;
    if (at + 8 > data.size())
        return std::nullopt;
    const QByteArray tag = data.mid(at, 4);
    if (tag != "Xing" && tag != "Info")
        return std::nullopt;
    const quint32 fields = qFromBigEndian<quint32>(data.constData() + at + 4);
    at += 8;
    // Without the frame count the end of the sound is unknown.
    if (!(fields & 0x1) || at + 4 > data.size())
        return std::nullopt;
    const qint64 frames = qFromBigEndian<quint32>(data.constData() + at);
    at += 4 + ((fields & 0x2) ? 4 : 0) + ((fields & 0x4) ? 100 : 0) + ((fields & 0x8) ? 4 : 0);
    // The LAME extension: encoder name, then at a fixed offset twelve bits
    // of delay and twelve of padding.
    if (at + 24 > data.size())
        return std::nullopt;
    const quint8 *gap = reinterpret_cast<const quint8 *>(data.constData() + at + 21);
    const int delay = (gap[0] << 4) | (gap[1] >> 4);
    const int padding = ((gap[1] & 0x0F) << 8) | gap[2];
    const qint64 total = frames * (header->mpeg1 ? 1152 : 576);
    const qint64 sound = total - delay - padding;
    if (sound <= 0)
        return std::nullopt;
    return Mp3Gapless{header->sampleRate, delay + decoderDelay, sound};
}
