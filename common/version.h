#pragma once
// The product's version and names, in one place: both programs' version resources and
// manifests, the panel's About page and the installer take them from here. Keep the text
// form equal to the four numbers (resource scripts cannot build one from the other).
#define HANDSET_VERSION_MAJOR 3
#define HANDSET_VERSION_MINOR 3
#define HANDSET_VERSION_BUILD 10
#define HANDSET_VERSION_REVISION 3
#define HANDSET_VERSION_TEXT "3.3.10.3"

#define HANDSET_PRODUCT_NAME "Corvane USB Talkpod"
#define HANDSET_COMPANY_NAME "Corvane Audio Devices"
#define HANDSET_COPYRIGHT "Copyright (C) Corvane Audio Devices"
// The maker's site: the About page's link, and the installed apps list's links.
#define HANDSET_COMPANY_URL "https://www.corvane.example/"

// What each program is, as Explorer and the Task Manager name it.
#define HANDSET_LINK_DESCRIPTION "Corvane USB Talkpod Handset Link"
#define HANDSET_PANEL_DESCRIPTION "Corvane USB Talkpod Control Panel"
