// File names and other installation settings taken from "Environment.txt".
// A value holding a folder separator is a full path and used unchanged.
#pragma once

#include <QString>

#include <cstdint>

QString GetDefaultADM();
QString GetDefaultTHG();
QString GetBaseMapMLL();
QString GetBaseMapADM();
QString GetBaseMapTHG();
QString GetGazetFile();
QString GetLogLast();
QString GetLogClip();
QString GetLogPrint();
QString GetLogError();
QString GetResourcePS();
QString GetCruiseGridFile();
QString GetCruiseListFile();
QString GetAuthorEmail();
QString GetAuthorURLhome();
QString GetAuthorURLmap();
QString GetAuthorURLruntime();
QString GetAuthorURLupgrade();
QString GetAuthorURLorder();
int32_t GetGridForeColor();
int32_t GetGridBackColor();
int32_t GetGridFontSize();
QString GetGridFontName();
int32_t GetMaxImageSize();
