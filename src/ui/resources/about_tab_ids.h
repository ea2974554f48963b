#ifndef SABLA_UI_RESOURCES_ABOUT_TAB_IDS_H
#define SABLA_UI_RESOURCES_ABOUT_TAB_IDS_H
// The controls of the about page. The ids are the page's own, so they may repeat ids of the
// other pages.

#define IDC_ABOUT_VERSION 1014
#define IDC_ABOUT_CHECK_VERSION 1115
#define IDC_ABOUT_MAKER_SITE 1004
#define IDC_ABOUT_OPEN_SETTINGS 1108
#define IDC_ABOUT_KEY_COLUMN 1030
// The two statics: the page fills the notice (it names the site's address); the labels are fixed.
#define IDC_ABOUT_NOTICE 1201
#define IDC_ABOUT_KEY_LABELS 1202

#endif
