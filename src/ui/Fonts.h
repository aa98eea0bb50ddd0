// The fonts the window asks for, by the names it was designed with, and their stand-ins on
// this system: "Courier New" is Liberation Mono (same metrics), "System" and "ＭＳ Ｐゴシック"
// are IPAPGothic, which has the kanji, kana and half-width katakana of every caption.
#pragma once

#include <QFont>

enum class FontKind {
    Inherit,   // the parent's font
    System16,  // the main window's default font
    Courier17, // "Courier New" bold, character height 17
    Courier18,
    Courier20,
    PGothic15, // "ＭＳ Ｐゴシック", character height 15 (the About dialog)
    PGothic17, // the status bar
};

// Maps the design's font names to installed fonts; safe to call more than once.
void InstallFontSubstitutes();

// The font of a kind; character heights are pixel sizes. Inherit gives a default QFont.
QFont FontOf(FontKind kind);
