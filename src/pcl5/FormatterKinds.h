// The value formatters, one per formatter kind of the escape tree. Each is
// called after the escape header has been written and writes the rest of
// the line.
#pragma once

namespace veltrix {

struct Pcl5View;
struct EscapeEntry;

#define VELTRIX_FORMATTER(name) void name(const Pcl5View& run, const EscapeEntry& entry)

// Page, cursor, job and mode escapes.
VELTRIX_FORMATTER(FormatReset);
VELTRIX_FORMATTER(FormatCursorMove);
VELTRIX_FORMATTER(FormatPageSize);
VELTRIX_FORMATTER(FormatOrientation);
VELTRIX_FORMATTER(FormatOutputTray);
VELTRIX_FORMATTER(FormatPaperSource);
VELTRIX_FORMATTER(FormatTextParsingMethod);
VELTRIX_FORMATTER(FormatTransparentPrint);
VELTRIX_FORMATTER(FormatMacroId);
VELTRIX_FORMATTER(FormatMacroControl);
VELTRIX_FORMATTER(FormatEnterHpgl);
VELTRIX_FORMATTER(FormatEnterPcl);

// Font selection and downloads.
VELTRIX_FORMATTER(FormatSymbolSet);
VELTRIX_FORMATTER(FormatFontById);
VELTRIX_FORMATTER(FormatTypeface);
VELTRIX_FORMATTER(FormatStyle);
VELTRIX_FORMATTER(FormatStrokeWeight);
VELTRIX_FORMATTER(FormatPitch);
VELTRIX_FORMATTER(FormatPointSize);
VELTRIX_FORMATTER(FormatSpacing);
VELTRIX_FORMATTER(FormatFontDescriptor);
VELTRIX_FORMATTER(FormatCharacterData);
VELTRIX_FORMATTER(FormatCharacterCode);
VELTRIX_FORMATTER(FormatFontId);

// Raster graphics.
VELTRIX_FORMATTER(FormatRasterResolution);
VELTRIX_FORMATTER(FormatDestinationWidth);
VELTRIX_FORMATTER(FormatDestinationHeight);
VELTRIX_FORMATTER(FormatRasterWidth);
VELTRIX_FORMATTER(FormatRasterHeight);
VELTRIX_FORMATTER(FormatRasterMsb);
VELTRIX_FORMATTER(FormatCompression);
VELTRIX_FORMATTER(FormatStartRaster);
VELTRIX_FORMATTER(FormatEndRaster);
VELTRIX_FORMATTER(FormatRasterData);
VELTRIX_FORMATTER(FormatRasterYOffset);

// Palettes and colour.
VELTRIX_FORMATTER(FormatPaletteControl);
VELTRIX_FORMATTER(FormatPaletteControlId);
VELTRIX_FORMATTER(FormatSelectPalette);
VELTRIX_FORMATTER(FormatConfigureImageData);
VELTRIX_FORMATTER(FormatForegroundColour);

#undef VELTRIX_FORMATTER

}  // namespace veltrix
