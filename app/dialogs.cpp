#include "app/dialogs.h"

#include "app/mainframe.h"
#include "app/resource.h"

CAboutDialog::CAboutDialog() : CDialog(IDD_ABOUTBOX) {}

CClansDialog::CClansDialog(CMainFrame* frame) : CDialog(IDD_CLANS, frame) {
    const ClanStats& blue = frame->world.stats[CELL_BLUE];
    const ClanStats& red = frame->world.stats[CELL_RED];
    redBirths = red.births;
    redKilled = red.killed;
    blueKilled = blue.killed;
    blueBirths = blue.births;
    redPopulation = red.population;
    bluePopulation = blue.population;
    redTotal = red.total;
    blueTotal = blue.total;
    redDied = red.died;
    blueDied = blue.died;
}

void CClansDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 1007, redBirths);
    DDX_Text(pDX, 1003, redKilled);
    DDX_Text(pDX, 1002, blueKilled);
    DDX_Text(pDX, 1006, blueBirths);
    DDX_Text(pDX, 1001, redPopulation);
    DDX_Text(pDX, 1000, bluePopulation);
    DDX_Text(pDX, 1009, redTotal);
    DDX_Text(pDX, 1008, blueTotal);
    DDX_Text(pDX, 1005, redDied);
    DDX_Text(pDX, 1004, blueDied);
}

CSettingsDialog::CSettingsDialog(CMainFrame* frame)
    : CDialog(IDD_SETTINGS, frame),
      frame(frame),
      yearLengthMs(frame->world.rules.yearLengthMs),
      birthNeighbours(frame->world.rules.birthNeighbours),
      lonelinessBase(frame->world.rules.lonelinessBase),
      overpopulationBase(frame->world.rules.overpopulationBase),
      overpopulationRandom(frame->world.rules.overpopulationRandom),
      lonelinessRandom(frame->world.rules.lonelinessRandom) {}

void CSettingsDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 1010, yearLengthMs);
    DDX_Text(pDX, 1011, birthNeighbours);
    DDX_Text(pDX, 1004, lonelinessBase);
    DDX_Text(pDX, 1016, overpopulationBase);
    DDX_Text(pDX, 1015, overpopulationRandom);
    DDX_Text(pDX, 1014, lonelinessRandom);
}

void CSettingsDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;  // the field has been reported; the dialog stays open
    }
    RuleSettings& rules = frame->world.rules;
    rules.yearLengthMs = yearLengthMs;
    rules.birthNeighbours = birthNeighbours;
    rules.lonelinessBase = lonelinessBase;
    rules.overpopulationBase = overpopulationBase;
    rules.overpopulationRandom = overpopulationRandom;
    rules.lonelinessRandom = lonelinessRandom;
    EndDialog(IDOK);
}
