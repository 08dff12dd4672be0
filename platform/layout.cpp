#include "platform/layout.h"

namespace talvor::platform {
namespace {

TControl* Create(TForm& form, const TLayoutItem& item) {
  TControl* parent = &form;
  if (item.parent) parent = FindControl<TControl>(form, item.parent);
  switch (item.kind) {
    case TControlKind::Panel:
      return new TPanel(&form, parent);
    case TControlKind::Label: {
      auto* label = new TLabel(&form, parent);
      if (item.text) label->SetCaption(item.text);
      if (item.flags & lfCenter) label->SetAlignment(TAlignment::taCenter);
      return label;
    }
    case TControlKind::Bevel: {
      auto* bevel = new TBevel(&form, parent);
      bevel->SetShape((item.flags & lfTopLine) ? TBevelShape::bsTopLine : TBevelShape::bsBox);
      return bevel;
    }
    case TControlKind::Image: {
      auto* image = new TImage(&form, parent);
      if (item.text) image->SetPicture(item.text);
      return image;
    }
    case TControlKind::Button: {
      auto* button = new TButton(&form, parent);
      if (item.text) button->SetCaption(item.text);
      button->Default = (item.flags & lfDefault) != 0;
      button->Cancel = (item.flags & lfCancel) != 0;
      return button;
    }
    case TControlKind::SpeedButton: {
      auto* button = new TSpeedButton(&form, parent);
      if (item.text) button->SetGlyph(item.text);
      return button;
    }
    case TControlKind::Edit: {
      auto* edit = new TEdit(&form, parent);
      if (item.text) edit->SetText(item.text);
      edit->SetReadOnly((item.flags & lfReadOnly) != 0);
      return edit;
    }
    case TControlKind::RichEdit:
      return new TRichEdit(&form, parent);
    case TControlKind::ListBox: {
      auto* list = new TListBox(&form, parent);
      list->DragAutomatic = (item.flags & lfDragAutomatic) != 0;
      if (item.itemHeight > 0) list->SetItemHeight(item.itemHeight);
      return list;
    }
  }
  return nullptr;
}

}  // namespace

void BuildForm(TForm& form, const TFormLayout& layout, std::span<const TLayoutItem> items) {
  form.Name = layout.name;
  form.SetCaption(layout.caption);
  form.SetFont(TFontSpec{layout.font});
  form.SetBorderStyle(layout.borderStyle);
  form.SetBorderIcons(layout.borderIcons);
  if (layout.icon) form.SetIcon(layout.icon);
  if (layout.clientWidth > 0)
    form.SetClientSize(layout.clientWidth, layout.clientHeight);
  else
    form.SetBounds(layout.bounds.left, layout.bounds.top, layout.bounds.width,
                   layout.bounds.height);
  form.SetPosition(layout.position);

  for (const TLayoutItem& item : items) {
    TControl* control = Create(form, item);
    control->Name = item.name;
    control->SetFont(TFontSpec{item.font ? item.font : layout.font});
    if (item.align != TAlign::alNone) control->SetAlign(item.align);
    control->SetBounds(item.bounds.left, item.bounds.top, item.bounds.width, item.bounds.height);
    if (item.hint) control->SetHint(item.hint);
    if (item.hint || (item.flags & lfShowHint)) control->SetShowHint(true);
    control->SetTabOrder(item.tabOrder);
    if (item.flags & lfParentColor) control->SetParentColor(true);
    if (item.flags & lfArrowCursor) control->SetCursor(TCursor::crArrow);
    form.RegisterControl(control);
  }
}

}  // namespace talvor::platform
