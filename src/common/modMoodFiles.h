#pragma once
// Where a mood's song list lives: Moods/<name>.mlst in the program folder. Mood names keep
// the letter case the user gave them while older files may differ in case only, so the file
// is looked up ignoring case, a file of exactly that name first. Every place that reads,
// tests, appends to or deletes a mood's file names it through here.
#include <QString>

// The mood's file: the exact name when that file exists, else the one file of the Moods
// folder whose name equals it ignoring case, else the exact name (where a first song creates
// it). Empty for a name that cannot name a file of that folder (one holding a separator).
QString moods_FilePath(const QString& name);
