#pragma once

#include "documents/AssemblyDocument.h"
#include "ui/analysis/AnalysisDlg.h"

#include <functional>
#include <vector>

namespace kalkora::ui {

// The assembly as its window holds it at this moment, costed at the quantities given (none: the
// default quantities of its quantity base).
using AssemblySnapshot = std::function<documents::CostedAssembly(std::vector<std::int32_t> quantities)>;

// The assembly's cost per piece at several quantities ("Staffelpreise"), as the order's price
// scale shows it: the quantities in an editable field, recomputed on Enter and whenever the
// assembly, a file of its tree or the master data change; a table of the sums and a chart of the
// full and the direct cost per piece over the quantity. "&Exportieren..." writes every line of
// the tree at every quantity, "&Drucken..." prints the tree for each quantity. What cannot be
// costed is explained below the field and the last good table stays, marked out of date.
//
// Object names for tests: "assemblyScaleDlg", "quantities" the field, "errorLine" its message.
class CAssemblyScaleDlg : public CScaleDlg {
    Q_OBJECT

public:
    CAssemblyScaleDlg(AssemblySnapshot currentAssembly, QWidget* parent);

    // Computes afresh from the default quantities.
    void restart();
    // The costing shown; nothing before the first good one.
    const documents::CostedAssembly& shownCosting() const { return shown; }

public slots:
    void OnQuantitiesEntered() override { recompute(false); }

protected:
    std::string csvText() const override;
    std::string printText() const override;
    void followOrder() override { recompute(false); }

private:
    void recompute(bool restarting);
    void showCosting(documents::CostedAssembly costed);

    AssemblySnapshot currentAssembly;
    documents::CostedAssembly shown;
};

} // namespace kalkora::ui
