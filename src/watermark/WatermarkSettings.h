#pragma once

class TIniFile;
class TWatermark;

// The [Watermark] keys of the settings file. Reading follows the file's start-up order: a type-2
// watermark whose picture cannot be loaded (the load error has been shown) becomes type 0.
void ReadWatermarkKeys(const TIniFile& ini, TWatermark& watermark);
// Writes every key the watermark has, in the section's order; raises the file's write error.
void WriteWatermarkKeys(TIniFile& ini, const TWatermark& watermark);
