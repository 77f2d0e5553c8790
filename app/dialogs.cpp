#include "app/dialogs.h"

#include "app/mainframe.h"
#include "res/resource.h"

namespace {

// A clan statistics field: its control, the dialog's copy and the counter it shows.
struct ClanField {
    int id;
    int32_t CClansDialog::*shown;
    int32_t clan;
    int32_t ClanStats::*counter;
};

// In exchange order.
constexpr ClanField CLAN_FIELDS[] = {
    {IDC_RED_BIRTHS, &CClansDialog::redBirths, CELL_RED, &ClanStats::births},
    {IDC_RED_KILLED, &CClansDialog::redKilled, CELL_RED, &ClanStats::killed},
    {IDC_BLUE_KILLED, &CClansDialog::blueKilled, CELL_BLUE, &ClanStats::killed},
    {IDC_BLUE_BIRTHS, &CClansDialog::blueBirths, CELL_BLUE, &ClanStats::births},
    {IDC_RED_POPULATION, &CClansDialog::redPopulation, CELL_RED, &ClanStats::population},
    {IDC_BLUE_POPULATION, &CClansDialog::bluePopulation, CELL_BLUE, &ClanStats::population},
    {IDC_RED_TOTAL, &CClansDialog::redTotal, CELL_RED, &ClanStats::total},
    {IDC_BLUE_TOTAL, &CClansDialog::blueTotal, CELL_BLUE, &ClanStats::total},
    {IDC_RED_DIED, &CClansDialog::redDied, CELL_RED, &ClanStats::died},
    {IDC_BLUE_DIED, &CClansDialog::blueDied, CELL_BLUE, &ClanStats::died},
};

// A rule field: its control, the dialog's copy and the rule it edits.
struct RuleField {
    int id;
    int32_t CSettingsDialog::*shown;
    int32_t RuleSettings::*rule;
};

// In exchange order.
constexpr RuleField RULE_FIELDS[] = {
    {IDC_YEAR_LENGTH, &CSettingsDialog::yearLengthMs, &RuleSettings::yearLengthMs},
    {IDC_BIRTH_NEIGHBOURS, &CSettingsDialog::birthNeighbours, &RuleSettings::birthNeighbours},
    {IDC_LONELINESS_BASE, &CSettingsDialog::lonelinessBase, &RuleSettings::lonelinessBase},
    {IDC_OVERPOPULATION_BASE, &CSettingsDialog::overpopulationBase,
     &RuleSettings::overpopulationBase},
    {IDC_OVERPOPULATION_RANDOM, &CSettingsDialog::overpopulationRandom,
     &RuleSettings::overpopulationRandom},
    {IDC_LONELINESS_RANDOM, &CSettingsDialog::lonelinessRandom, &RuleSettings::lonelinessRandom},
};

template <typename Dialog, typename Field, size_t N>
void ExchangeFields(CDataExchange* pDX, Dialog& dialog, const Field (&fields)[N]) {
    for (const Field& f : fields) {
        DDX_Text(pDX, f.id, dialog.*f.shown);
    }
}

}  // namespace

CAboutDialog::CAboutDialog() : CDialog(IDD_ABOUTBOX) {}

CClansDialog::CClansDialog(CMainFrame* frame) : CDialog(IDD_CLANS, frame) {
    for (const ClanField& f : CLAN_FIELDS) {
        this->*f.shown = frame->world.stats[f.clan].*f.counter;
    }
}

void CClansDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    ExchangeFields(pDX, *this, CLAN_FIELDS);
}

CSettingsDialog::CSettingsDialog(CMainFrame* frame) : CDialog(IDD_SETTINGS, frame), frame(frame) {
    for (const RuleField& f : RULE_FIELDS) {
        this->*f.shown = frame->world.rules.*f.rule;
    }
}

void CSettingsDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    ExchangeFields(pDX, *this, RULE_FIELDS);
}

void CSettingsDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;  // the field has been reported; the dialog stays open
    }
    for (const RuleField& f : RULE_FIELDS) {
        frame->world.rules.*f.rule = this->*f.shown;
    }
    EndDialog(IDOK);
}
