#include "media/MediaDetailsTables.h"

#include "media/MediaTypeGuids.h"

#include <algorithm>
#include <array>

using namespace mediaguid;

namespace {

struct GuidRow {
    QUuid key;
    MediaTypeLabel value;
};

constexpr auto Audio = &EnumVid::AudioType;
constexpr auto Video = &EnumVid::VideoType;
constexpr auto Other = &EnumVid::OtherMajorType;

constexpr std::array MajorTypes{
    GuidRow{analog(0x0482DEE1), {"AnalogAudio", Audio}},
    GuidRow{analog(0x0482DDE1), {"Analogvideo", Audio}},
    GuidRow{fromFourCC("auds"), {"Audio", Audio}},
    GuidRow{QUuid(0x670AEA80, 0x3A82, 0x11D0, 0xB7, 0x9B, 0x00, 0xAA, 0x00, 0x37, 0x67, 0xA7), {"AUXLine21Data", Audio}},
    GuidRow{fromFourCC("file"), {"File", Other}},
    GuidRow{fromFourCC("iavs"), {"Interleaved", Other}},
    GuidRow{fromFourCC("mlrt"), {"LMRT", Other}},
    GuidRow{fromFourCC("mids"), {"Midi", Other}},
    GuidRow{mpeg2(0xE06D8020), {"MPEG2_PES", Other}},
    GuidRow{fromFourCC("dmcs"), {"ScriptCommand", Other}},
    GuidRow{e436(0xE436EB83), {"Stream", Other}},
    GuidRow{fromFourCC("txts"), {"Text", Other}},
    GuidRow{analog(0x0482DEE3), {"Timecode", Other}},
    GuidRow{fromFourCC("urls"), {"URL_STREAM", Other}},
    GuidRow{fromFourCC("vids"), {"Video", Video}},
};

constexpr auto VSub = &EnumVid::VideoSubType;
constexpr auto ASub = &EnumVid::AudioSubType;
constexpr auto OSub = &EnumVid::OtherSubType;

constexpr std::array SubTypes{
    GuidRow{fromFourCC("CLPL"), {"CLPL", VSub}},
    GuidRow{fromFourCC("YUYV"), {"YUYV", VSub}},
    GuidRow{fromFourCC("IYUV"), {"IYUV", VSub}},
    GuidRow{fromFourCC("YVU9"), {"YVU9", VSub}},
    GuidRow{fromFourCC("Y411"), {"Y411", VSub}},
    GuidRow{fromFourCC("Y41P"), {"Y41P", VSub}},
    GuidRow{fromFourCC("YUY2"), {"YUY2", VSub}},
    GuidRow{fromFourCC("YVYU"), {"YVYU", VSub}},
    GuidRow{fromFourCC("UYVY"), {"UYVY", VSub}},
    GuidRow{fromFourCC("Y211"), {"Y211", VSub}},
    GuidRow{fromFourCC("YV12"), {"YV12", VSub}},
    GuidRow{fromFourCC("CLJR"), {"CLJR", VSub}},
    GuidRow{fromFourCC("IF09"), {"IF09", VSub}},
    GuidRow{fromFourCC("CPLA"), {"CPLA", VSub}},
    GuidRow{fromFourCC("MJPG"), {"MJPG", VSub}},
    GuidRow{fromFourCC("TVMJ"), {"TVMJ", VSub}},
    GuidRow{fromFourCC("WAKE"), {"WAKE", VSub}},
    GuidRow{fromFourCC("CFCC"), {"CFCC", VSub}},
    GuidRow{fromFourCC("IJPG"), {"IJPG", VSub}},
    GuidRow{fromFourCC("Plum"), {"Plum", VSub}},
    GuidRow{fromFourCC("DVCS"), {"DVCS", VSub}},
    GuidRow{fromFourCC("DVSD"), {"DVSD", VSub}},
    GuidRow{fromFourCC("MDVF"), {"MDVF", VSub}},
    GuidRow{fromFourCC("dvhd"), {"dvhd", VSub}},
    GuidRow{fromFourCC("dvsl"), {"dvsl", VSub}},
    GuidRow{fromFourCC("DIVX"), {"DIVX", VSub}},
    GuidRow{fromFourCC("dvsd"), {"dvsd_", VSub}},
    GuidRow{fromFourCC("MP42"), {"MS-MPEG4", VSub}},
    GuidRow{fromFourCC("rpza"), {"QTRpza", VSub}},
    GuidRow{fromFourCC("smc "), {"QTSmc", VSub}},
    GuidRow{fromFourCC("rle "), {"QTRle", VSub}},
    GuidRow{fromFourCC("jpeg"), {"QTJpeg", VSub}},
    GuidRow{e436(0xE436EB78), {"RGB1", VSub}},
    GuidRow{e436(0xE436EB79), {"RGB4", VSub}},
    GuidRow{e436(0xE436EB7A), {"RGB8", VSub}},
    GuidRow{e436(0xE436EB7B), {"RGB565", VSub}},
    GuidRow{e436(0xE436EB7C), {"RGB555", VSub}},
    GuidRow{e436(0xE436EB7D), {"RGB24", VSub}},
    GuidRow{e436(0xE436EB7E), {"RGB32", VSub}},
    GuidRow{e436(0xE436EB7F), {"Overlay", VSub}},
    GuidRow{e436(0xE436EB80), {"MPEG1Packet", VSub}},
    GuidRow{e436(0xE436EB81), {"MPEG1Payload", VSub}},
    GuidRow{e436(0xE436EB84), {"MPEG1System", VSub}},
    GuidRow{e436(0xE436EB85), {"MPEG1VideoCD", VSub}},
    GuidRow{e436(0xE436EB86), {"MPEG1Video", VSub}},
    GuidRow{e436(0xE436EB88), {"Avi", VSub}},
    GuidRow{e436(0xE436EB89), {"QTMovie", VSub}},
    GuidRow{QUuid(0x773C9AC0, 0x3274, 0x11D0, 0xB7, 0x24, 0x00, 0xAA, 0x00, 0x6C, 0x1A, 0x01), {"ARGB32", VSub}},
    GuidRow{QUuid(0x3DB80F90, 0x9412, 0x11D1, 0xAD, 0xED, 0x00, 0x00, 0xF8, 0x75, 0x4B, 0x99), {"Asf", VSub}},
    GuidRow{QUuid(0xA0AF4F81, 0xE163, 0x11D0, 0xBA, 0xD9, 0x00, 0x60, 0x97, 0x44, 0x11, 0x1A), {"DssVideo", VSub}},
    GuidRow{QUuid(0x5A9B6A40, 0x1A22, 0x11D1, 0xBA, 0xD9, 0x00, 0x60, 0x97, 0x44, 0x11, 0x1A), {"VPVideo", VSub}},
    GuidRow{QUuid(0x5A9B6A41, 0x1A22, 0x11D1, 0xBA, 0xD9, 0x00, 0x60, 0x97, 0x44, 0x11, 0x1A), {"VPVBI", VSub}},
    GuidRow{analog(0x0482DDE2), {"AnalogVideo_NTSC_M", VSub}},
    GuidRow{analog(0x0482DDE5), {"AnalogVideo_PAL_B", VSub}},
    GuidRow{analog(0x0482DDE6), {"AnalogVideo_PAL_D", VSub}},
    GuidRow{analog(0x0482DDE7), {"AnalogVideo_PAL_G", VSub}},
    GuidRow{analog(0x0482DDE8), {"AnalogVideo_PAL_H", VSub}},
    GuidRow{analog(0x0482DDE9), {"AnalogVideo_PAL_I", VSub}},
    GuidRow{analog(0x0482DDEA), {"AnalogVideo_PAL_M", VSub}},
    GuidRow{analog(0x0482DDEB), {"AnalogVideo_PAL_N", VSub}},
    GuidRow{analog(0x0482DDEC), {"AnalogVideo_PAL_N_COMBO", VSub}},
    GuidRow{analog(0x0482DDF0), {"AnalogVideo_SECAM_B", VSub}},
    GuidRow{analog(0x0482DDF1), {"AnalogVideo_SECAM_D", VSub}},
    GuidRow{analog(0x0482DDF2), {"AnalogVideo_SECAM_G", VSub}},
    GuidRow{analog(0x0482DDF3), {"AnalogVideo_SECAM_H", VSub}},
    GuidRow{analog(0x0482DDF4), {"AnalogVideo_SECAM_K", VSub}},
    GuidRow{analog(0x0482DDF5), {"AnalogVideo_SECAM_K1", VSub}},
    GuidRow{analog(0x0482DDF6), {"AnalogVideo_SECAM_L", VSub}},
    GuidRow{mpeg2(0xE06D8026), {"MPEG2_VIDEO", VSub}},
    GuidRow{mpeg2(0xE06D8022), {"MPEG2_PROGRAM", VSub}},
    GuidRow{mpeg2(0xE06D8023), {"MPEG2_TRANSPORT", VSub}},
    GuidRow{mpeg2(0xE06D802D), {"DVD_SUBPICTURE", VSub}},
    GuidRow{fromTag(0x0050), {"MPEG1AudioPayload", ASub}},
    GuidRow{fromTag(0x0001), {"PCM", ASub}},
    GuidRow{fromTag(0x0092), {"DOLBY_AC3_SPDIF", ASub}},
    GuidRow{fromTag(0x0240), {"RAW_SPORT", ASub}},
    GuidRow{fromTag(0x0241), {"SPDIF_TAG_241h", ASub}},
    GuidRow{fromTag(0x0075), {"VOXWARE_MetaSound", ASub}},
    GuidRow{e436(0xE436EB87), {"MPEG1Audio", ASub}},
    GuidRow{e436(0xE436EB8A), {"PCMAudio_Obsolete", ASub}},
    GuidRow{e436(0xE436EB8B), {"WAVE", ASub}},
    GuidRow{e436(0xE436EB8C), {"AU", ASub}},
    GuidRow{e436(0xE436EB8D), {"AIFF", ASub}},
    GuidRow{QUuid(0xA0AF4F82, 0xE163, 0x11D0, 0xBA, 0xD9, 0x00, 0x60, 0x97, 0x44, 0x11, 0x1A), {"DssAudio", ASub}},
    GuidRow{mpeg2(0xE06D802B), {"MPEG2_AUDIO", ASub}},
    GuidRow{mpeg2(0xE06D802C), {"DOLBY_AC3", ASub}},
    GuidRow{mpeg2(0xE06D8032), {"DVD_LPCM_AUDIO", ASub}},
    GuidRow{mpeg2(0xE06D8033), {"DTS", ASub}},
    GuidRow{mpeg2(0xE06D8034), {"SDDS", ASub}},
    GuidRow{line21(0x6E8D4A22), {"Line21_BytePair", OSub}},
    GuidRow{line21(0x6E8D4A23), {"Line21_GOPPacket", OSub}},
    GuidRow{line21(0x6E8D4A24), {"Line21_VBIRawData", OSub}},
    GuidRow{fromTag(0x0003), {"IEEE_FLOAT", OSub}},
    GuidRow{mpeg2(0xE06D802F), {"PCI", OSub}},
    GuidRow{mpeg2(0xE06D8030), {"DSI", OSub}},
    GuidRow{mpeg2(0xE06D8031), {"PROVIDER", OSub}},
};
static_assert(SubTypes.size() == 96);

struct TagRow {
    uint16_t tag;
    const char* label;
};

constexpr std::array AudioFormats{
    TagRow{1, "PCM"},
    TagRow{2, "ADPCM"},
    TagRow{3, "IEEE_FLOAT"},
    TagRow{5, "IBM_CVSD"},
    TagRow{6, "ALAW"},
    TagRow{7, "MULAW"},
    TagRow{16, "OKI_ADPCM"},
    TagRow{17, "DVI_ADPCM"},
    TagRow{18, "MEDIASPACE_ADPCM"},
    TagRow{19, "SIERRA_ADPCM"},
    TagRow{20, "G723_ADPCM"},
    TagRow{21, "DIGISTD"},
    TagRow{22, "DIGIFIX"},
    TagRow{23, "DIALOGIC_OKI_ADPCM"},
    TagRow{24, "MEDIAVISION_ADPCM"},
    TagRow{32, "YAMAHA_ADPCM"},
    TagRow{33, "SONARC"},
    TagRow{34, "DSPGROUP_TRUESPEECH"},
    TagRow{35, "ECHOSC1"},
    TagRow{36, "AUDIOFILE_AF36"},
    TagRow{37, "APTX"},
    TagRow{38, "AUDIOFILE_AF10"},
    TagRow{48, "DOLBY_AC2"},
    TagRow{49, "GSM610"},
    TagRow{50, "MSNAUDIO"},
    TagRow{51, "ANTEX_ADPCME"},
    TagRow{52, "CONTROL_RES_VQLPC"},
    TagRow{53, "DIGIREAL"},
    TagRow{54, "DIGIADPCM"},
    TagRow{55, "CONTROL_RES_CR10"},
    TagRow{56, "NMS_VBXADPCM"},
    TagRow{57, "CS_IMAADPCM"},
    TagRow{58, "ECHOSC3"},
    TagRow{59, "ROCKWELL_ADPCM"},
    TagRow{60, "ROCKWELL_DIGITALK"},
    TagRow{61, "XEBEC"},
    TagRow{64, "G721_ADPCM"},
    TagRow{65, "G728_CELP"},
    TagRow{80, "MPEG"},
    TagRow{85, "MPEGLAYER3"},
    TagRow{96, "CIRRUS"},
    TagRow{97, "ESPCM"},
    TagRow{98, "VOXWARE"},
    TagRow{99, "CANOPUS_ATRAC"},
    TagRow{100, "G726_ADPCM"},
    TagRow{101, "G722_ADPCM"},
    TagRow{102, "DSAT"},
    TagRow{103, "DSAT_DISPLAY"},
    TagRow{117, "VOXWARE"},
    TagRow{128, "SOFTSOUND"},
    TagRow{256, "RHETOREX_ADPCM"},
    TagRow{512, "CREATIVE_ADPCM"},
    TagRow{514, "CREATIVE_FASTSPEECH8"},
    TagRow{515, "CREATIVE_FASTSPEECH10"},
    TagRow{544, "QUARTERDECK"},
    TagRow{768, "FM_TOWNS_SND"},
    TagRow{1024, "BTV_DIGITAL"},
    TagRow{4096, "OLIGSM"},
    TagRow{4097, "OLIADPCM"},
    TagRow{4098, "OLICELP"},
    TagRow{4099, "OLISBC"},
    TagRow{4100, "OLIOPR"},
    TagRow{4352, "LH_CODEC"},
    TagRow{5120, "NORRIS"},
};
static_assert(AudioFormats.size() == 64);

MediaTypeLabel lookup(const auto& rows, const QUuid& key, MediaTypeLabel otherwise)
{
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const GuidRow& r) { return r.key == key; });
    return row == rows.end() ? otherwise : row->value;
}

}  // namespace

MediaTypeLabel MajorTypeLabel(const QUuid& majorType)
{
    return lookup(MajorTypes, majorType, {"Unknown", &EnumVid::OtherMajorType});
}

MediaTypeLabel SubTypeLabel(const QUuid& subType)
{
    return lookup(SubTypes, subType, {"UnKnown ", &EnumVid::OtherSubType});
}

QString AudioFormatLabel(uint16_t formatTag)
{
    const auto row = std::find_if(AudioFormats.begin(), AudioFormats.end(),
                                  [&](const TagRow& r) { return r.tag == formatTag; });
    return QString::fromLatin1(row == AudioFormats.end() ? "Unknown" : row->label);
}
