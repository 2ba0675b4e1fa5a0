// Moves a notes document between the model's RTF document (Windows-1252 bytes with format runs)
// and the rich-text box's QTextDocument, keeping what the notes file keeps: text, paragraph and
// line breaks, tabs, bold, italic, underline, strike-out, size and colour.
#pragma once

#include "tools/rtf.h"

#include <optional>

class QTextDocument;
class QTextCharFormat;

namespace orvane {

// The character format property that carries a run's size in half points, so a size read from
// the file is written back exactly rather than through a rounded pixel size.
inline constexpr int kHalfPointsProperty = 0x100000 + 1; // QTextFormat::UserProperty + 1

// Pixel size of a size in half points on a 96 dpi screen.
int PixelSizeOfHalfPoints(int half_points);

QTextCharFormat CharFormatOf(const RtfFormat& format);
RtfFormat RtfFormatOf(const QTextCharFormat& format);

// Replaces the whole content of `target`.
void ShowDocument(const RtfDocument& document, QTextDocument* target);

// The box's content, or nothing when it holds a character Windows-1252 cannot store. Embedded
// objects (pasted images) are dropped.
std::optional<RtfDocument> DocumentOf(const QTextDocument& source);

} // namespace orvane
