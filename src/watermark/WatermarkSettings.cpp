#include "watermark/WatermarkSettings.h"

#include "app/IniFile.h"
#include "app/uLibPivex.h"
#include "watermark/Watermark.h"

#include <algorithm>

namespace {

const QString kSection = QStringLiteral("Watermark");
constexpr int kMaxFontPoints = 1638;  // the largest size a font dialog offers

QString key(const char* name)
{
    return QString::fromLatin1(name);
}

// Windows colour values are 0x00BBGGRR.
QColor colorFromWindows(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int colorToWindows(const QColor& color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

uint8_t readByte(const TIniFile& ini, const char* name, int defaultValue)
{
    return static_cast<uint8_t>(ini.ReadInteger(kSection, key(name), defaultValue) & 0xFF);
}

int readInt(const TIniFile& ini, const char* name, int defaultValue)
{
    return ini.ReadInteger(kSection, key(name), defaultValue);
}

void readFont(const TIniFile& ini, TWatermark& watermark)
{
    watermark.Font.setFamily(ini.ReadString(kSection, key("WatermarkFontName"), QStringLiteral("MS Sans Serif")));
    watermark.FontColor = colorFromWindows(readInt(ini, "WatermarkFontColor", 255));
    watermark.Font.setPointSize(std::clamp(readInt(ini, "WatermarkFontSize", 24), 1, kMaxFontPoints));
    watermark.Font.setBold(ini.ReadBool(kSection, key("WatermarkFontBold"), false));
    watermark.Font.setItalic(ini.ReadBool(kSection, key("WatermarkFontItalic"), false));
    watermark.Font.setUnderline(ini.ReadBool(kSection, key("WatermarkFontUnderline"), false));
    watermark.Font.setStrikeOut(ini.ReadBool(kSection, key("WatermarkFontStrikeout"), false));
}

}  // namespace

void ReadWatermarkKeys(const TIniFile& ini, TWatermark& watermark)
{
    watermark.WatermarkType = readByte(ini, "WatermarkType", TWatermark::TypeNone);
    watermark.OffsetX = readInt(ini, "WatermarkOffsetX", 0);
    watermark.OffsetY = readInt(ini, "WatermarkOffsetY", 0);
    watermark.Transparency = readInt(ini, "WatermarkTransparency", 200);
    watermark.ShadowRadius = readInt(ini, "WatermarkShadowRadius", 0);
    watermark.ShadowOffsetX = readInt(ini, "WatermarkShadowOffsetX", 3);
    watermark.ShadowOffsetY = readInt(ini, "WatermarkShadowOffsetY", 3);
    watermark.ImageFileName = ini.ReadString(kSection, key("WatermarkImageFileName"), QString());
    if (watermark.WatermarkType == TWatermark::TypeImage && !watermark.ImageFileName.isEmpty()
        && !watermark.LoadImage(watermark.ImageFileName))
        watermark.WatermarkType = TWatermark::TypeNone;
    watermark.Lines = LinesFromText(
        UnescapeLineBreaks(ini.ReadString(kSection, key("WatermarkText"), QStringLiteral("Sample Text"))));
    watermark.OffsetTypeX = readByte(ini, "WatermarkOffsetTypeX", TWatermark::AnchorFar);
    watermark.OffsetTypeY = readByte(ini, "WatermarkOffsetTypeY", TWatermark::AnchorFar);
    readFont(ini, watermark);
}

void WriteWatermarkKeys(TIniFile& ini, const TWatermark& watermark)
{
    ini.WriteInteger(kSection, key("WatermarkType"), watermark.WatermarkType);
    ini.WriteInteger(kSection, key("WatermarkOffsetX"), watermark.OffsetX);
    ini.WriteInteger(kSection, key("WatermarkOffsetY"), watermark.OffsetY);
    ini.WriteInteger(kSection, key("WatermarkTransparency"), watermark.Transparency);
    ini.WriteInteger(kSection, key("WatermarkShadowRadius"), watermark.ShadowRadius);
    ini.WriteInteger(kSection, key("WatermarkShadowOffsetX"), watermark.ShadowOffsetX);
    ini.WriteInteger(kSection, key("WatermarkShadowOffsetY"), watermark.ShadowOffsetY);
    ini.WriteString(kSection, key("WatermarkImageFileName"), watermark.ImageFileName);
    ini.WriteString(kSection, key("WatermarkText"), EscapeLineBreaks(watermark.Lines.join(QStringLiteral("\r\n"))));
    ini.WriteInteger(kSection, key("WatermarkOffsetTypeX"), watermark.OffsetTypeX);
    ini.WriteInteger(kSection, key("WatermarkOffsetTypeY"), watermark.OffsetTypeY);
    ini.WriteString(kSection, key("WatermarkFontName"), watermark.Font.family());
    ini.WriteInteger(kSection, key("WatermarkFontColor"), colorToWindows(watermark.FontColor));
    ini.WriteInteger(kSection, key("WatermarkFontSize"), watermark.Font.pointSize());
    ini.WriteBool(kSection, key("WatermarkFontBold"), watermark.Font.bold());
    ini.WriteBool(kSection, key("WatermarkFontItalic"), watermark.Font.italic());
    ini.WriteBool(kSection, key("WatermarkFontUnderline"), watermark.Font.underline());
    ini.WriteBool(kSection, key("WatermarkFontStrikeout"), watermark.Font.strikeOut());
}
