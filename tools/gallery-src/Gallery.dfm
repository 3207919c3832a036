object GalleryForm: TGalleryForm
  Width = 1000
  Height = 720
  Caption = 'Skin gallery'
  Color = clBtnFace
  Position = poScreenCenter
  object SkinData1: TSkinData
    Active = True
    SkinStream = {(the default skin, packed at build time)}
  end
end
