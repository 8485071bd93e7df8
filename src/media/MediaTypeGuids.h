#pragma once

#include <QUuid>
#include <cstdint>

// The platform's media type identifiers the media details know, grouped by the families they share.
namespace mediaguid {

// {XXXXXXXX-0000-0010-8000-00AA00389B71}: a FourCC or a wave format tag as the first field.
constexpr QUuid fromTag(uint32_t tag)
{
    return QUuid(tag, 0x0000, 0x0010, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71);
}
constexpr uint32_t fourCCValue(const char (&code)[5])
{
    return uint32_t(uint8_t(code[0])) | uint32_t(uint8_t(code[1])) << 8 | uint32_t(uint8_t(code[2])) << 16
        | uint32_t(uint8_t(code[3])) << 24;
}
constexpr QUuid fromFourCC(const char (&code)[5]) { return fromTag(fourCCValue(code)); }
// {E436EBnn-524F-11CE-9F53-0020AF0BA770}
constexpr QUuid e436(uint32_t first)
{
    return QUuid(first, 0x524F, 0x11CE, 0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
}
// {0482DDnn-7817-11CF-8A03-00AA006ECB65}
constexpr QUuid analog(uint32_t first)
{
    return QUuid(first, 0x7817, 0x11CF, 0x8A, 0x03, 0x00, 0xAA, 0x00, 0x6E, 0xCB, 0x65);
}
// {E06D80nn-DB46-11CF-B4D1-00805F6CBBEA}
constexpr QUuid mpeg2(uint32_t first)
{
    return QUuid(first, 0xDB46, 0x11CF, 0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA);
}
// {6E8D4Ann-310C-11D0-B79A-00AA003767A7}
constexpr QUuid line21(uint32_t first)
{
    return QUuid(first, 0x310C, 0x11D0, 0xB7, 0x9A, 0x00, 0xAA, 0x00, 0x37, 0x67, 0xA7);
}
// {05589F8n-C356-11CE-BF01-00AA0055595A}
constexpr QUuid format(uint32_t first)
{
    return QUuid(first, 0xC356, 0x11CE, 0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A);
}

constexpr QUuid MajorVideo = fromFourCC("vids");
constexpr QUuid MajorAudio = fromFourCC("auds");
constexpr QUuid MajorText = fromFourCC("txts");

constexpr QUuid SubRGB8 = e436(0xE436EB7A);
constexpr QUuid SubRGB565 = e436(0xE436EB7B);
constexpr QUuid SubRGB555 = e436(0xE436EB7C);
constexpr QUuid SubRGB24 = e436(0xE436EB7D);
constexpr QUuid SubRGB32 = e436(0xE436EB7E);
constexpr QUuid SubMPEG1Payload = e436(0xE436EB81);
constexpr QUuid SubMPEG2Video = mpeg2(0xE06D8026);

constexpr QUuid FormatNone = QUuid(0x0F6417D6, 0xC318, 0x11D0, 0xA4, 0x3F, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96);
constexpr QUuid FormatVideoInfo = format(0x05589F80);
constexpr QUuid FormatWaveFormatEx = format(0x05589F81);
constexpr QUuid FormatMPEGVideo = format(0x05589F82);
constexpr QUuid FormatMPEGStreams = format(0x05589F83);
constexpr QUuid FormatDvInfo = format(0x05589F84);
constexpr QUuid FormatVideoInfo2 = QUuid(0xF72A76A0, 0xEB0A, 0x11D0, 0xAC, 0xE4, 0x00, 0x00, 0xC0, 0xCC, 0x16, 0xBA);
constexpr QUuid FormatMPEG2Video = mpeg2(0xE06D80E3);
constexpr QUuid FormatDolbyAC3 = mpeg2(0xE06D80E4);
constexpr QUuid FormatMPEG2Audio = mpeg2(0xE06D80E5);
constexpr QUuid FormatDVDLPCMAudio = mpeg2(0xE06D80E6);

}  // namespace mediaguid
