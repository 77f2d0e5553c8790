// The three dialogs of the pop-up menu: About, the clan statistics and the rule settings.
#pragma once

#include <cstdint>

#include "platform/afx/dialog.h"

class CMainFrame;

class CAboutDialog : public CDialog {
public:
    CAboutDialog();
};

// A snapshot of both clans' counters; nothing is written back.
class CClansDialog : public CDialog {
public:
    explicit CClansDialog(CMainFrame* frame);

    int32_t redBirths;
    int32_t redKilled;
    int32_t blueKilled;
    int32_t blueBirths;
    int32_t redPopulation;
    int32_t bluePopulation;
    int32_t redTotal;
    int32_t blueTotal;
    int32_t redDied;
    int32_t blueDied;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// The six rule settings; OK writes them back only when all six are integers.
class CSettingsDialog : public CDialog {
public:
    explicit CSettingsDialog(CMainFrame* frame);
    void OnOK() override;

    CMainFrame* frame;
    int32_t yearLengthMs;
    int32_t birthNeighbours;
    int32_t lonelinessBase;
    int32_t overpopulationBase;
    int32_t overpopulationRandom;
    int32_t lonelinessRandom;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
