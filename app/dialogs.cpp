#include "app/dialogs.h"

#include "app/mainframe.h"
#include "res/resource.h"

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
    DDX_Text(pDX, IDC_RED_BIRTHS, redBirths);
    DDX_Text(pDX, IDC_RED_KILLED, redKilled);
    DDX_Text(pDX, IDC_BLUE_KILLED, blueKilled);
    DDX_Text(pDX, IDC_BLUE_BIRTHS, blueBirths);
    DDX_Text(pDX, IDC_RED_POPULATION, redPopulation);
    DDX_Text(pDX, IDC_BLUE_POPULATION, bluePopulation);
    DDX_Text(pDX, IDC_RED_TOTAL, redTotal);
    DDX_Text(pDX, IDC_BLUE_TOTAL, blueTotal);
    DDX_Text(pDX, IDC_RED_DIED, redDied);
    DDX_Text(pDX, IDC_BLUE_DIED, blueDied);
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
    DDX_Text(pDX, IDC_YEAR_LENGTH, yearLengthMs);
    DDX_Text(pDX, IDC_BIRTH_NEIGHBOURS, birthNeighbours);
    DDX_Text(pDX, IDC_LONELINESS_BASE, lonelinessBase);
    DDX_Text(pDX, IDC_OVERPOPULATION_BASE, overpopulationBase);
    DDX_Text(pDX, IDC_OVERPOPULATION_RANDOM, overpopulationRandom);
    DDX_Text(pDX, IDC_LONELINESS_RANDOM, lonelinessRandom);
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
