#pragma once
// Every skinned control in one include.
#include "skinctrls/skin_button.h"
#include "skinctrls/skin_checkbox.h"
#include "skinctrls/skin_control.h"
#include "skinctrls/skin_edit.h"
#include "skinctrls/skin_form.h"
#include "skinctrls/skin_labels.h"
#include "skinctrls/skin_listview.h"
#include "skinctrls/skin_panel.h"
#include "skinctrls/skin_popup_menu.h"
#include "skinctrls/skin_scrollbar.h"
#include "skinctrls/skin_status.h"
