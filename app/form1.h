#pragma once

#include <filesystem>
#include <string>

#include "app/form_view.h"
#include "app/platform_services.h"
#include "core/neighbours.h"

namespace localyx {

/// The variables of the main window. They live as long as the window, start
/// empty, zero or false, and are never saved.
struct Form1Variables {
    std::string FileItem;     ///< field last read from a region file
    std::string RegionFile;   ///< base name of the current region's file
    int RadiusKm = 0;         ///< search radius in km (5 after Form_Load)
    double RadiusDeg = 0.0;   ///< RadiusKm / 111
    int TownIndex = 0;        ///< position of the town being handled
    std::string ChosenTown;   ///< item of the town chosen last, in either list
    std::string Town1Lat, Town1Lon;
    std::string Town2Lat, Town2Lon;
    double DistanceKm = 0.0;
    double DeltaLat = 0.0, DeltaLon = 0.0;
    int NeighbourCount = 0;
    long StartPos = 0;        ///< 1-based position in the start item
    long DestPos = 0;         ///< 1-based position in the destination item
    bool InNamePart = false;
    std::string StartMerged, DestMerged;
};

/// The main window's behaviour: every handler and procedure, written against
/// an abstract view and platform so that it runs without a display.
class Form1 {
public:
    /// @param programDir  folder searched first for the region files
    Form1(FormView& view, PlatformServices& platform, std::filesystem::path programDir);

    // Start-up.
    void Form_Load();

    // Window behaviour. button: 1 left, 2 right, 4 middle.
    void Form_MouseDown(int button);
    void Label1_MouseDown(int button);
    void LblRegions_MouseDown(int button);
    void CmdMinimise_Click();
    void CmdQuit_Click();
    void CmdaBOUT_Click();

    // Region, towns, radius, distance.
    void ComboReg_Click();
    void ComboKms_Click();
    void Combo1_Click();
    void Combo2_Click();

    // Web links.
    void CmdCarte_Click();
    void CmdItineraire_Click();
    void Timer1_Timer();
    void Timer2_Timer();

    const Form1Variables& variables() const { return m_vars; }

private:
    void SetCtrlHeight(ComboId combo, int height);
    void ListNeighbours();
    void ShowPairDistance();
    void OpenItinerary();
    void dragWindow(int button);

    FormView& m_view;
    PlatformServices& m_platform;
    std::filesystem::path m_programDir;
    Form1Variables m_vars;
    bool m_busy = false;  ///< a load or search is running
};

}  // namespace localyx
