#pragma once
class Platform;

// At start, before any window: chooses the language from settings.txt's LANGUAGE line, Windows'
// language and the translations at hand, and makes its translation the program's. A damaged
// translation of the user's is named in one box, and the built-in one (or English) used instead.
void StartProgramLanguage(Platform& platform);
// The same choice and translation, without a box and without touching a file: for a start that
// only hands a command to the Kelvaro running in its folder.
void SpeakProgramLanguage(Platform& platform);
