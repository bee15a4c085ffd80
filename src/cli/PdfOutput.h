#pragma once

#include "files/OfferFile.h"

#include <QCoreApplication>
#include <QString>

#include <memory>
#include <string>

namespace kalkora::cli {

// PDF output of the costing report and the quote letter. It uses the printing code of the desktop program and so
// exists only in builds with the desktop program (KALKORA_BUILD_GUI).

bool pdfSupported();

// The application object of one run. Writing a PDF needs Qt Gui (fonts, painting): such a run
// gets a QGuiApplication, on the offscreen platform unless QT_QPA_PLATFORM names another, so that
// it needs no display. Every other run gets a QCoreApplication.
std::unique_ptr<QCoreApplication> createApplication(int& argc, char** argv, bool writesPdf);

// Writes the report (Windows-1252, CR LF) as an A4 PDF with the pages the print command prints.
bool writeReportPdf(const std::string& reportText, const QString& path);

// Writes the quote letter of `offer` as an A4 PDF, page for page as the quote window prints it.
bool writeQuotePdf(const files::Offer& offer, const QString& path);

} // namespace kalkora::cli
