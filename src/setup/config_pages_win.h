#pragma once
// The options sheet's six pages. Each copies its settings into its controls when first shown
// and, on OK or Apply, writes them back, saves its group and applies the change at once.
#include <functional>
#include <string>

#include "setup/options_rules.h"
#include "setup/setup_controls_win.h"
#include "setup/setup_environment_win.h"
#include "ui/image_list_win.h"
#include "ui/property_sheet_win.h"

namespace pagelark {

// State the pages share for one opening of the sheet.
struct OptionsRun {
    explicit OptionsRun(SetupEnvironment& environment) : env(environment) {}
    SetupEnvironment& env;
    OptionsApplyTracker shown;
    UserDataChange userData;   // the My Telvoro page's UserDataChanged
};

class COptionsPage : public CPropertyPage {
public:
    COptionsPage(int templateId, OptionsPage which, OptionsRun& run)
        : CPropertyPage(templateId), run_(run), which_(which) {}

protected:
    // Fills the controls from the settings; returns whether an edit field got a non-empty text
    // (such a fill counts as a change, as if the user had typed it).
    virtual bool Fill() = 0;
    // Reads the controls into the settings; false refuses (the user has been told).
    virtual bool Apply() = 0;
    // After the page's group was saved: make the change take effect.
    virtual void AfterSave() {}
    // Checks the number fields; false keeps the page (the user has been told).
    virtual bool Validate() { return true; }
    virtual bool OnControl(int /*id*/, int /*code*/) { return false; }
    virtual bool OnPageMessage(UINT /*message*/, WPARAM, LPARAM, INT_PTR& /*result*/) { return false; }

    // Refuses a non-integer with "Please enter an integer." and puts the focus on the field.
    std::optional<std::int32_t> IntegerField(int id);

    OptionsRun& run_;
    bool filling_ = false;

private:
    BOOL OnInitDialog() final;
    bool OnCommand(int id, int code, HWND control) final;
    bool OnKillActive() final { return Validate(); }
    bool OnApply() final;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) final;

    OptionsPage which_;
    DerivedFont bold_;
};

class CPageConfigUser : public COptionsPage {
public:
    explicit CPageConfigUser(OptionsRun& run);
    bool UserDataChanged() const { return run_.userData.Changed(); }

protected:
    bool Fill() override;
    bool Apply() override;
    bool OnControl(int id, int code) override;
    bool OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    bool IsLink(HWND control) const;
    DerivedFont linkFont_;
    std::string userDataLink_;
    std::string paymentLink_;
};

class CPageConfigGlobal : public COptionsPage {
public:
    explicit CPageConfigGlobal(OptionsRun& run);

protected:
    bool Fill() override;
    bool Validate() override;
    bool Apply() override;
    void AfterSave() override;

private:
    ImageListHandle flags_;
};

class CPageConfigUpdate : public COptionsPage {
public:
    explicit CPageConfigUpdate(OptionsRun& run);

protected:
    bool Fill() override;
    bool Apply() override;
    bool OnControl(int id, int code) override;
};

class CPageConfigEMail : public COptionsPage {
public:
    explicit CPageConfigEMail(OptionsRun& run);

protected:
    bool Fill() override;
    bool Apply() override;
    void AfterSave() override;
};

class CPageConfigLog : public COptionsPage {
public:
    explicit CPageConfigLog(OptionsRun& run);

protected:
    bool Fill() override;
    bool Apply() override { return true; }
    bool OnControl(int id, int code) override;
};

class CPageConfigProxy : public COptionsPage {
public:
    explicit CPageConfigProxy(OptionsRun& run);

protected:
    bool Fill() override;
    bool Validate() override;
    bool Apply() override;
    bool OnControl(int id, int code) override;

private:
    void EnableAddressAndPort();
};

// Around the credit update that follows OK with changed user data: the opening window shows
// "Update credits..." before and refreshes its account display after.
struct CreditsDisplay {
    std::function<void()> showUpdating;
    std::function<void()> refresh;
};

// Runs the sheet modally over `owner`; after OK with changed user data, updates the credits.
void RunConfigSheet(SetupEnvironment& environment, HWND owner, const CreditsDisplay& display);

}  // namespace pagelark
