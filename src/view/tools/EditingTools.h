// Puts the five editing tools into a document; the selection tool is current afterwards.
#pragma once

class CReportDoc;

void InstallEditingTools(CReportDoc& doc);
