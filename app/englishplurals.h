// English's own plural forms, built into the program.
#pragma once

class QTranslator;

// The counted texts ("Seconds" and the like) have one source text for every
// count; this catalogue gives English its singular. Loads it into translator
// and installs that on the application, where it must come before any other
// catalogue, so that the others are asked first. False if it could not be
// loaded, which only a broken build can cause.
bool installEnglishPlurals(QTranslator &translator);
